// The columns of "guide.csv", in order: the file's header line without its
// line break. kovrin writes it and kovrin-report reads the file by it, so
// both take it from here; plain C++ without the platform, like TouchCsvColumns.h.
#pragma once

constexpr char GUIDE_CSV_COLUMNS[] =
    "run,item,kind,x1,y1,x2,y2,shown_us,ended_us,outcome,client_left,client_top,"
    "client_w,client_h,screen_w_mm,screen_h_mm,screen_w_px,screen_h_px";
