#include "bench/startup/ProbeReport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void ReportReadyAndEnd() {
    long peakKiB = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::strncmp(line, "VmHWM:", 6) == 0)
                peakKiB = std::strtol(line + 6, nullptr, 10);
        std::fclose(status);
    }
    std::printf("ready %ld\n", peakKiB);
    std::fflush(stdout);
    std::_Exit(0);
}
