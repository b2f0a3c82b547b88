/*
** natal_note.h: the built-in table of birthday notes.
**
** One entry for every calendar day, 29 February included, in calendar order:
** 1 January at index 0, 29 February at index 59, 31 December at index 365,
** so a day's index is its day of the year in a leap year, less 1.
**
** key is month * 100 + day.  title is the date written as month, 月, day, 日
** followed by a short epithet.  text is the note itself: CR LF line ends,
** ending with CR LF; paragraphs of one line each, indented by two U+3000;
** a portrait first, then eight sections, each after an empty line and a
** heading line.  All strings are zero-terminated UTF-16 and read-only.
**
** The table is generated at build time from data/natal_notes/natal_notes.tsv.
*/
#ifndef LUMENO_NATAL_NOTE_H
#define LUMENO_NATAL_NOTE_H

#include <cstdint>

struct NatalNote {
    int32_t key;
    const char16_t* title;
    const char16_t* text;
};

extern const NatalNote natalNoteTable[];
constexpr int32_t natalNoteCount = 366;

#endif
