#pragma once

// Sizes are written as they are at 96 DPI (100 %) and scaled to the DPI of
// the window that shows them.

const int kDefaultDpi = 96;

// value x dpi / 96, rounded half away from zero as the platform's MulDiv does.
int ScaleForDpi(int value, int dpi);

// Of the sizes an image was drawn at, the one nearest to the wanted size; the
// larger of two equally near ones, since shrinking blurs less than growing.
int NearestSize(const int* sizes, int count, int wanted);
