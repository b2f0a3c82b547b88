/*
** Device files. The handheld's file system is a folder of the host, the
** device root; the plug-ins folder (for example "\Program Files\Lumeno") is a
** device folder too. Names are backslash-separated device paths compared
** without regard to case; a bare name is a file in the device root.
** Plug-ins reach files only through these calls.
*/
#pragma once

#include "pf/types.h"

struct PfFile; /* an open device file */

enum : int32_t { PF_SEEK_SET = 0, PF_SEEK_CUR = 1, PF_SEEK_END = 2 };

/* Modes "rb" (read) and "wb" (create or truncate, write). Null on failure. */
PF_API PfFile* pfFileOpen(const char* name, const char* mode);
PF_API PfFile* pfFileOpenW(const char16_t* name, const char16_t* mode);
/* Like fread/fwrite: returns the number of whole items transferred. Reads
** are short at the end of the file; a write can fail. */
PF_API size_t pfFileRead(void* buffer, size_t size, size_t count, PfFile* file);
PF_API size_t pfFileWrite(const void* buffer, size_t size, size_t count, PfFile* file);
PF_API int32_t pfFileSeek(PfFile* file, int64_t offset, int32_t origin); /* 0 on success */
PF_API int64_t pfFileTell(PfFile* file);
PF_API int64_t pfFileSize(PfFile* file); /* -1 on failure */
PF_API int32_t pfFileClose(PfFile* file);
PF_API bool pfFileDelete(const char16_t* name);
