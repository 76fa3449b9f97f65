// The file layouts, one name each whether a file is read or written.
#pragma once

namespace quorix {

// Plain files need a grid file; Beartex (hash-list) blocks imply their
// 5-degree grid; Geesthacht (WKO list) blocks and Dubna files (plain numbers
// named .cnv) imply theirs, used where no grid file is given; the rest carry
// their own.
enum class DataLayout {
  None,
  Plain,
  Beartex,
  Geesthacht,
  Xrdml,
  Uxd,
  Asc,
  Ras,
  RigakuTxt,
  Popla,
  Columns,
  Dubna,
  Seifert,
  SiemensDump,
  Texd5,
  TexEinzel,
  LaboTex,
  Emse,
  GaddsSlice,
  Explore3d,
  XpertText,
  Aachen
};

// "plain", "hash", "wko", "xrdml", "uxd", "asc", "ras", "rigaku-txt", "popla",
// "columns", "dubna", "seifert", "siemens", "texd5", "tex-einzel", "labotex",
// "emse", "gadds-slice", "3dexplore", "xpert-text", "aachen", "none"
const char* LayoutName(DataLayout layout);

}  // namespace quorix
