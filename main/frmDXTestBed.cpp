#include "main/frmDXTestBed.h"

using namespace platform;

namespace {
WindowStyle CoverStyle() {
    WindowStyle style;
    style.border = BorderStyle::None;
    style.controlBox = false;
    style.showInTaskbar = false;
    style.startPosition = StartPosition::Manual;
    style.clientWidthTwips = 4680;
    style.clientHeightTwips = 3195;
    style.backColor = 0x000000;
    return style;
}
} // namespace

frmDXTestBed::frmDXTestBed() : FormOf(CoverStyle()) {
    move(0, 0);
}
