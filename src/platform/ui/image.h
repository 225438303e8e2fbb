// Qt images of the bitmap and icon resources.
#pragma once

#include "platform/ui/resource.h"

#include <QIcon>
#include <QImage>

QImage ImageFromTemplate(const BITMAPTEMPLATE& bitmap);
// Every image of icon group nID; an empty icon when there is none.
QIcon LoadIcon(UINT nID);
