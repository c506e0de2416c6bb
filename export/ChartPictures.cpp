#include "export/ChartPictures.h"

namespace {

ChartPictures* g_pictures = nullptr;

} // namespace

void ChartPictures::Install(ChartPictures* pictures)
{
    g_pictures = pictures;
}

ChartPictures* ChartPictures::Installed()
{
    return g_pictures;
}
