// The columns of "touch.csv", in order: the file's header line without its
// line break. kovrin writes it and kovrin-report knows the file by it, so
// both take it from here; plain C++ without the platform, like ContactSlots.h.
#pragma once

constexpr char TOUCH_CSV_COLUMNS[] = "message,input,announced,event,id,x,y,screen_x,screen_y,slot,time_ms,"
                                     "received_us,contact_w,contact_h,flags,client_w,client_h";
