// The file layouts, one name each whether a file is read or written.
#pragma once

namespace quorix {

// Plain and Geesthacht (WKO list) files need a grid file; Beartex (hash-list)
// blocks imply their 5-degree grid; the rest carry their own.
enum class DataLayout { None, Plain, Beartex, Geesthacht, Xrdml, Uxd, Asc, Ras, RigakuTxt, Popla, Columns };

// "plain", "hash", "wko", "xrdml", "uxd", "asc", "ras", "rigaku-txt", "popla", "columns", "none"
const char* LayoutName(DataLayout layout);

}  // namespace quorix
