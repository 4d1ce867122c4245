#pragma once

#include <QImage>

// The monitor's built-in test picture, 113 x 76: MONITORING, FOR and ARTIFACTS... in
// white bold capitals on black, anti-aliased and reduced to 16 grey levels.
QImage PaintMonitorPicture();
