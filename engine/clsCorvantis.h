#pragma once

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/PictureBox.h"
#include "platform/ddraw/DirectDraw.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The test engine: program folder, bitmap list with scores, message console, test picture
// with its pixel record, and the DirectDraw objects.
class clsCorvantis {
  public:
    clsCorvantis();

    void SetDXTestBed(platform::Form* objWindow);
    void SetDXPercentLabel(platform::Label* objLabel);
    void SetConsoleObject(platform::TextBox* ConsoleObject);
    void ConsoleTextAdd(const std::string& Inp);
    void SetTestObject(platform::PictureBox* TestObject);
    void MoveTestObject(int32_t objLeft, int32_t objTop);
    void LoadBitmap(int16_t Id);
    void RecordPixels();
    void TestPixels(int16_t Id);
    int32_t GetScore(int16_t Id) const;
    int32_t GetBitmapCount() const;
    void DirectX_Init();
    void PrepareDXBuffers();
    void BltFront();
    void LockPrimary();
    int32_t ReadLockedPixel(int32_t dx, int32_t dy);
    void UnlockPrimary();
    void SwapBuffers();
    std::string GetPath() const;
    void AddBitmap(const std::string& BitmapPath);
    void ClearBitmaps();

    // Whether DirectX_Init made every surface.
    bool DirectXReady() const;
    // The path stored at an index of the bitmap list (for inspection).
    std::string GetBitmapPath(int16_t Id) const;
    // Buffer 0, 1 or 2 (for inspection).
    ddraw::DirectDrawSurface7& GetBuffer(int Index) const;

  private:
    // Cells addressed by column 1..W and row 1..H.
    struct Record {
        int32_t width = 0;
        int32_t height = 0;
        std::vector<int32_t> cells;
        int32_t& At(int32_t x, int32_t y);
    };

    std::string ProgramPath;
    std::vector<std::string> BitmapPaths;
    std::vector<int32_t> Scores;
    Record PixelRecord;
    platform::ControlRef<platform::TextBox> Console;
    platform::ControlRef<platform::PictureBox> TestPicture;
    std::unique_ptr<ddraw::DirectX7> DX;
    std::shared_ptr<ddraw::DirectDraw7> DDraw;
    std::array<std::shared_ptr<ddraw::DirectDrawSurface7>, 3> Buffers;
    std::shared_ptr<ddraw::DirectDrawSurface7> Primary;
    ddraw::DDSURFACEDESC2 BufferDesc{};
    ddraw::DDSURFACEDESC2 PrimaryDesc{};
    ddraw::RECT LockRect{};
    platform::ControlRef<platform::Form> DXTestBed;
    platform::ControlRef<platform::Label> DXPercentLabel;

    platform::TextBox& RequireConsole() const;
    platform::PictureBox& RequireTestPicture() const;
    platform::Form& RequireDXTestBed() const;
    ddraw::DirectDrawSurface7&
    RequireSurface(const std::shared_ptr<ddraw::DirectDrawSurface7>& surface) const;
    size_t CheckedIndex(int16_t Id) const;
};
