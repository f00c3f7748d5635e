/* Pieces the album's source files share (not a public interface). */
#ifndef VYX_UI_ALBUM_INTERNAL_H
#define VYX_UI_ALBUM_INTERNAL_H

#include <stdbool.h>
#include <stdint.h>

#include "vyx_ui_album.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What a list entry's kind code says: camera (0 front, 1 rear; -1 for an unknown code) and
 * whether it is a photo. */
static inline int AlbumKind_Camera(uint32_t u32Kind) {
    switch (u32Kind) {
    case 0:
    case 6:
    case 66:
    case 72: /* front video */
    case 39:
    case 40:
    case 41:
    case 48:
    case 49:
    case 50: /* front photo */
        return 0;
    case 2:
    case 8:
    case 68:
    case 74: /* rear video */
    case 42:
    case 43:
    case 44:
    case 51:
    case 52:
    case 53: /* rear photo */
        return 1;
    default:
        return -1;
    }
}

static inline bool AlbumKind_IsPhoto(uint32_t u32Kind) {
    return u32Kind >= 39 && u32Kind <= 53 && !(u32Kind >= 45 && u32Kind <= 47);
}

void AlbumState_SetRelatedFileCnt(uint32_t u32Count);

/* Takes the counts and offsets of the answer to a list query of eFileType (0-3). 0 or -1. */
int AlbumList_TakeAnswer(const char *pcAnswer, VYX_UI_Album_FileType_E eFileType, bool bWithCat);

#ifdef __cplusplus
}
#endif

#endif /* VYX_UI_ALBUM_INTERNAL_H */
