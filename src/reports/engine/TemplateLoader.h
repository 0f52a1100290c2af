#pragma once
// Loads report templates from their JSON form.
//
// One JSON object per template (lengths in millimetres, font sizes in points):
//
// { "name": "RpStok",
//   "page": { "orientation": "landscape", "margins": [20, 20, 20, 15] },   // left, right, top, bottom
//   "find": true,                                  // optional: the preview offers "Bul"
//   "links": [ { "name": "DBStok", "dataset": "Stok" } ],
//   "bands": [
//     { "name": "MasterData1", "kind": "MasterData", "top": 40, "height": 5, "link": "DBStok",
//       "cells": [
//         { "name": "Memo9", "kind": "memo",       // memo | sysmemo | line | rect
//           "left": 0, "top": 0, "width": 44, "height": 5,
//           "text": "[DBStok.\"StokKodu\"]",       // a string or an array of lines
//           "link": "DBStok", "field": "StokKodu", // bound to a field
//           "format": "%2.2n TL", "decimal": ",",  // numeric display format
//           "align": "left",                       // left | right | center
//           "font": { "size": 9, "bold": false, "underline": false, "color": "red" },
//           "frame": "box",                        // none | box | any of "ltrb"
//           "inset": [5, 2],                       // GapX, GapY in units
//           "wordWrap": true, "clip": true,
//           "color": "grey" } ] } ] }              // lines and rectangles
//
// Band kinds: ReportTitle, PageHeader, Header, MasterData, Footer, PageFooter,
// ReportSummary. "top" is the band's design position; it orders headers,
// data bands and footers. Omitted attributes take the engine's defaults
// (Arial 9.75 pt, inset 2/1, word wrap and clipping on).
#include "Template.h"

#include <QByteArray>

namespace tk::reports {

// Throws tk::Error with a Turkish message naming what is wrong.
Template parseTemplate(const QByteArray &json);
// Reads ":/reports/templates/<name>.json" (the compiled-in templates) or a file path.
Template loadTemplate(const QString &nameOrPath);

} // namespace tk::reports
