// The file layouts, one name each whether a file is read or written.
#pragma once

namespace quorix {

// Plain files need a grid file; Beartex (hash-list) blocks imply their
// 5-degree grid; Geesthacht (WKO list) blocks and Dubna files (plain numbers
// named .cnv) imply theirs, used where no grid file is given; the rest carry
// their own (Queen's files without a line of stars are known by their .plf name).
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
  Aachen,
  Queens,
  Inel,
  Autex
};

// "plain", "hash", "wko", "xrdml", "uxd", "asc", "ras", "rigaku-txt", "popla",
// "columns", "dubna", "seifert", "siemens", "texd5", "tex-einzel", "labotex",
// "emse", "gadds-slice", "3dexplore", "xpert-text", "aachen", "queens", "inel",
// "autex", "none"
const char* LayoutName(DataLayout layout);

}  // namespace quorix
