#include "engine/clsCorvantis.h"

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Runtime.h"

using platform::Raise;

int32_t& clsCorvantis::Record::At(int32_t x, int32_t y) {
    if (x < 1 || y < 1 || x > width || y > height)
        Raise(platform::ErrSubscriptOutOfRange, "Subscript out of range");
    return cells[static_cast<size_t>(x - 1) * static_cast<size_t>(height) +
                 static_cast<size_t>(y - 1)];
}

platform::PictureBox& clsCorvantis::RequireTestPicture() const {
    if (!TestPicture)
        Raise(platform::ErrObjectRequired, "Object required: no test picture set");
    return *TestPicture;
}

void clsCorvantis::SetTestObject(platform::PictureBox* TestObject) {
    TestPicture = TestObject;
    platform::PictureBox& picture = RequireTestPicture();
    picture.SetAutoRedraw(false);
    picture.SetScaleMode(platform::vbPixels);
    picture.SetAutoSize(true);
    platform::Form* parent = picture.Parent();
    if (!parent)
        Raise(platform::ErrObjectRequired, "Object required: the test picture has no window");
    parent->SetScaleMode(platform::vbPixels);
    platform::SetWindowTopmost(parent->hwnd());
    picture.Cls();
}

void clsCorvantis::MoveTestObject(int32_t objLeft, int32_t objTop) {
    RequireTestPicture().Move(objLeft, objTop);
}

void clsCorvantis::LoadBitmap(int16_t Id) {
    platform::PictureBox& picture = RequireTestPicture();
    const std::string& path = BitmapPaths[CheckedIndex(Id)];
    picture.SetPicture(platform::LoadPicture(path));
}

void clsCorvantis::RecordPixels() {
    platform::PictureBox& picture = RequireTestPicture();
    Record record;
    record.width = platform::CLng(picture.ScaleWidth());
    record.height = platform::CLng(picture.ScaleHeight());
    record.cells.assign(static_cast<size_t>(std::max(record.width, 0)) *
                            static_cast<size_t>(std::max(record.height, 0)),
                        0);
    PixelRecord = std::move(record);
    picture.SetAutoRedraw(true);
    const int32_t columns = platform::CLng(picture.ScaleWidth());
    for (int32_t x = 1; x <= columns; ++x) {
        const int32_t rows = platform::CLng(picture.ScaleHeight());
        for (int32_t y = 1; y <= rows; ++y)
            PixelRecord.At(x, y) = picture.Point(x, y);
    }
    picture.SetAutoRedraw(false);
}

void clsCorvantis::TestPixels(int16_t Id) {
    platform::PictureBox& picture = RequireTestPicture();
    int32_t& score = Scores[CheckedIndex(Id)];
    score = 0;
    const int32_t columns = platform::CLng(picture.ScaleWidth());
    for (int32_t x = 1; x <= columns; ++x) {
        const int32_t rows = platform::CLng(picture.ScaleHeight());
        for (int32_t y = 1; y <= rows; ++y)
            if (PixelRecord.At(x, y) != picture.Point(x, y))
                ++score;
    }
}
