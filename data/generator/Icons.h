#pragma once

#include <QImage>

// The main program's icon: a monitor whose screen shows a white wave over a green grid.
// size is 32 or 16.
QImage PaintMainIcon(int size);

// The monitor program's icon: a grey spanner. size is 32 or 16.
QImage PaintMonitorIcon(int size);
