// Picture loading of a ".bmp" file from a bitmap set.
#include "fuzz/FuzzInput.h"
#include "platform/Errors.h"
#include "platform/PictureBox.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::EnsureApplication();
    const std::string path = fuzzing::WriteInputFile(data, size, "x.bmp");
    try {
        const platform::Picture picture = platform::LoadPicture(path);
        if (!picture || picture->isNull() || picture->width() > platform::kMaxPictureSide ||
            picture->height() > platform::kMaxPictureSide)
            std::abort();
        // Every pixel of what was loaded must be readable.
        volatile QRgb last = picture->pixel(picture->width() - 1, picture->height() - 1);
        (void)last;
    } catch (const platform::RuntimeError&) {
    }
    return 0;
}
