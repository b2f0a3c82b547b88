/*
** Texts of the About boxes that are this project's own: the build stamp in
** the compiler's form ("Oct 26 2007 01:58:51", a single-digit day padded
** with a space), the credit line and the web address.
*/
#include "frame.h"

const char16_t buildStamp[] = u"" __DATE__ " " __TIME__;
const char16_t creditLine[] = u"Lumeno 日历日页插件项目";
const char16_t webAddress[] = u"https://lumeno.example/day-pages";
