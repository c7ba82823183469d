#pragma once

#include <QThread>
#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

// Calls work(i) for every i below count, spread over all cores. Each index is
// handled exactly once; the calls must be independent of each other.
template <class Work>
void forEachOnAllCores(qsizetype count, Work work) {
  std::atomic<qsizetype> next{0};
  auto loop = [&] {
    for (qsizetype i = next++; i < count; i = next++) work(i);
  };
  const qsizetype helpers = std::min<qsizetype>(QThread::idealThreadCount(), count) - 1;
  std::vector<std::thread> threads;
  for (qsizetype t = 0; t < helpers; ++t) threads.emplace_back(loop);
  loop();
  for (std::thread &t : threads) t.join();
}
