#include "app/startup.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/commandline.h"
#include "model/textfile.h"

TEST(StartUp, CommandText) {
  const struct {
    const char *text;
    bool server;
    const char *address;
    quint16 port;
    const char *user;
  } cases[] = {
      {"tcp://10.0.0.5:5201:operator", true, "10.0.0.5", 5201, "operator"},
      {"TCP://core1", true, "core1", 5200, ""},
      {"\"tcp://core1:6000\"", true, "core1", 6000, ""},
      {"  tcp://core1:6000:ops extra words", true, "core1", 6000, "ops"},
      {"tcp://core1: 6001 :", true, "core1", 1234, ""},  // text after the first blank is ignored
      {"tcp://core1:abc", true, "core1", 1234, ""},      // a bad port keeps the previous one
      {"tcp://core1:99999", true, "core1", 1234, ""},    // not a port
      {"tcp://core1:0", true, "core1", 1234, ""},
      {"tcp://core1:40000", true, "core1", 40000, ""},  // above the 16-bit signed range
      {"tcp://core1:65535", true, "core1", 65535, ""},
      {"tcp://core1:5202:Op", true, "core1", 5202, "Op"},
      {"tcp://", false, "", 1234, ""},
      {"", false, "", 1234, ""},
      {"http://core1:5200", false, "", 1234, ""},
  };
  for (const auto &c : cases) {
    ProgramSettings s;
    s.serverPort = 1234;
    EXPECT_EQ(applyCommandText(s, c.text), c.server) << c.text;
    EXPECT_EQ(s.serverMode, c.server) << c.text;
    EXPECT_EQ(s.serverAddress, c.address) << c.text;
    EXPECT_EQ(s.serverPort, c.port) << c.text;
    EXPECT_EQ(s.loginName, c.user) << c.text;
  }
}

TEST(StartUp, FoldersFollowTheStartFolder) {
  ProgramSettings s;
  initSettings(s, "/home/op/My Panels");
  EXPECT_EQ(s.startFolder, "/home/op/My Panels/");
  EXPECT_EQ(s.panelsFolder, "/home/op/My Panels/CVSPanels/");
  EXPECT_EQ(s.hardwareMapFile, "/home/op/My Panels/CVSPanels/HardwareMap.xml");
  EXPECT_EQ(s.helpAddress, "file:///home/op/My Panels/help.pdf");  // blanks stay
  EXPECT_EQ(s.defaultGraphicsFolder, "/home/op/My Panels/PanelGraphics/");
  ProgramSettings empty;
  initSettings(empty, "");
  EXPECT_TRUE(empty.defaultGraphicsFolder.isEmpty());
}

TEST(StartUp, CommonFolderHoldsTheRememberedConnection) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  const QString folder = commonFolder();
  EXPECT_EQ(folder, config.path() + "/CorvanePC/");
  EXPECT_TRUE(readRememberedConnection().isEmpty());
  QString error;
  ASSERT_TRUE(
      writeTextFileSafely(folder + "TessaryConnect.txt", "  tcp://core2:5300  \r\n", &error));
  EXPECT_EQ(readRememberedConnection(), "tcp://core2:5300");
}

TEST(StartUp, CommandLineSeparatesServerTextAndPanelFiles) {
  const CommandLine cmd =
      parseCommandLine({"tessary-designer", "a.xml", "TCP://core:5200:ops", "b.xml"});
  EXPECT_EQ(cmd.serverText, "TCP://core:5200:ops");
  EXPECT_EQ(cmd.panelFiles, QStringList({"a.xml", "b.xml"}));
  EXPECT_FALSE(cmd.showHelp);
  EXPECT_TRUE(parseCommandLine({"tessary-designer", "--version"}).showVersion);
  EXPECT_TRUE(parseCommandLine({"tessary-designer", "--help"}).showHelp);
  EXPECT_FALSE(parseCommandLine({"tessary-designer", "--bogus"}).error.isEmpty());
}
