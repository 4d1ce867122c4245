// "twmeasure.txt" read whole and shown in a text box exactly as stored.
#include "fuzz/FuzzInput.h"
#include "platform/Controls.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using platform::TextFile;
    fuzzing::EnsureApplication();
    static auto box = std::make_unique<platform::TextBox>(nullptr, 0, 0, 7000, 5000,
                                                          platform::TextBox::ScrollBars::Both);
    const std::string path = fuzzing::WriteInputFile(data, size, "twmeasure.txt");
    try {
        TextFile::Open(path, TextFile::Mode::Input);
        const std::string text = TextFile::InputChars(TextFile::Lof());
        TextFile::Close();
        box->SetText(text);
        if (box->Text() != std::string(reinterpret_cast<const char*>(data), size))
            std::abort();
    } catch (const platform::RuntimeError&) {
        TextFile::Close();
    }
    return 0;
}
