#pragma once

// Prints "ready <peak resident KiB>" on stdout once the window is up, then ends.
[[noreturn]] void ReportReadyAndEnd();
