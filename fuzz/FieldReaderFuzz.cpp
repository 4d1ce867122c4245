// The field reader over "Curset.ini" and "bitmapsets.ini" content: read field by field to
// the end, as the start-up and the set chooser do.
#include "fuzz/FuzzInput.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using platform::TextFile;
    const std::string path = fuzzing::WriteInputFile(data, size, "bitmapsets.ini");
    try {
        TextFile::Open(path, TextFile::Mode::Input);
        // Every field consumes at least one byte, so the reads end within the file's length.
        size_t fields = 0;
        while (!TextFile::Eof()) {
            TextFile::Input();
            if (++fields > size + 1)
                std::abort();
        }
    } catch (const platform::RuntimeError&) {
    }
    TextFile::Close();
    return 0;
}
