#pragma once
// The preview's tool bar pictures: one strip of 24 × 24 pictures kept
// gzip-packed in the resources, unpacked with zlib's inflate.
#include <QByteArray>
#include <QIcon>
#include <QList>

namespace tk::reports {

enum class ToolIcon { Print, Open, Save, Export, Find, ZoomIn, ZoomOut, FullScreen, Outline, Thumbnails, PageSetup, Close };

// Unpacks gzip data; throws tk::Error on damaged data.
QByteArray gunzip(const QByteArray &packed);
// The strip's pictures in ToolIcon order (empty icons when the strip is missing).
QList<QIcon> toolbarIcons();

} // namespace tk::reports
