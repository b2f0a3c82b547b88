/*
** The identities of the seven plug-ins, kept in one place: display name,
** version, page title, soft-key bar, Back and About commands, About title,
** and which parts of the host's date each keeps. Every plug-in picks its
** own entry; the frame reads nothing else.
*/
#pragma once

#include <cstdint>

enum : uint32_t { KEEP_YEAR = 1, KEEP_MONTH = 2, KEEP_DAY = 4 };

struct PluginIdentity {
  const char16_t* displayName;   /* getName */
  int32_t version;               /* getVersion: major << 16 | minor */
  const char16_t* pageTitle;     /* title of template 101, first line of About */
  uint32_t menuBarId;            /* soft-key bar resource */
  uint32_t backCommand;          /* closes the page */
  uint32_t aboutCommand;         /* shows the About box */
  const char16_t* aboutTitle;
  uint32_t aboutStyle;           /* message-box style of the About box */
  uint32_t datePartsKept;        /* KEEP_YEAR | KEEP_MONTH | KEEP_DAY */
  uint32_t platformTypeBuffer;   /* units of the platform-type query buffer */
  bool alwaysPocketPCFlags;      /* full-screen flags 45 without asking */
};

constexpr PluginIdentity almanacIdentity = {
    u"黄道吉日", 65539, u"黄道吉日", 105, 40002, 40003, u"關於", 0,
    KEEP_YEAR | KEEP_MONTH | KEEP_DAY, 64, false};

constexpr PluginIdentity tradAlmanacIdentity = {
    u"臺灣皇曆", 65539, u"台灣皇曆", 105, 40002, 40003, u"關於", 0,
    KEEP_YEAR | KEEP_MONTH | KEEP_DAY, 512, false};

constexpr PluginIdentity pastDayIdentity = {
    u"历史上的今天", 131076, u"历史上的今天", 109, 40008, 40011, u"关于", 0x40,
    KEEP_MONTH | KEEP_DAY, 64, false};

constexpr PluginIdentity safeSpanIdentity = {
    u"安全期测算", 65542, u"安全期测算", 108, 40008, 40012, u"关于", 0,
    KEEP_YEAR | KEEP_MONTH | KEEP_DAY, 64, true};

constexpr PluginIdentity bioRhythmIdentity = {
    u"生理曲线", 65538, u"人体生理曲线", 105, 40002, 40003, u"关于", 0,
    KEEP_YEAR | KEEP_MONTH | KEEP_DAY, 64, false};

constexpr PluginIdentity zoneClockIdentity = {
    u"世界时钟", 65536, u"世界时钟", 105, 40002, 40003, u"关于", 0, 0, 64, false};

constexpr PluginIdentity natalNotesIdentity = {
    u"生日密码", 65539, u"生日密码", 105, 40002, 40003, u"关于", 0, KEEP_MONTH | KEEP_DAY, 64,
    false};
