/*
** Small rules of the index generator: the index's name from the data
** file's path, and the elapsed time from the wrapping millisecond count.
*/
#pragma once

#include <cstdint>
#include <optional>
#include <string>

/* Everything up to and including the last '.' of the whole path, then
** "idx"; directory parts count too, so "data.old/notes" gives "data.idx".
** Nullopt when the path has no '.'. */
std::optional<std::string> indexPathFor(const std::string& dataPath);

/* Milliseconds between two readings of a 32-bit wrapping tick count, as a
** signed number. */
int32_t costMilliseconds(uint32_t start, uint32_t end);
