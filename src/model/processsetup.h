#pragma once

// Opening a large panel allocates tens of megabytes (the file's text, the
// controls and their records); closing it frees them. Returned to the system
// at once, that memory has to be faulted in again page by page by the next
// panel opened, which can double the time an open takes. The program keeps
// freed memory for reuse instead (up to a bound), and allocates even large
// blocks from it. Called once at start-up, before the first allocation that
// matters; the benchmarks call it as the program does.
void keepFreedMemoryForReuse();
