#pragma once

#include <QColor>
#include <cstdint>

// The records store colours as 0x00BBGGRR words; Qt paints with QColor.
inline QColor FromColorRef(std::uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}
