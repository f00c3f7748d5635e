// Fuzz target: what the recorder hands the album. The input's first byte picks the case:
//   0: the bytes are both list files; counts and offsets come from the next 16 bytes, and every
//      table step runs over every list type;
//   1: the rest is a list answer, then a new-file notice, then a deleted-file notice.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/stat.h>

#include "sys_paths.h"
#include "vyx_ui_album.h"
#include "vyx_ui_album_internal.h"

namespace {

uint32_t Word(const uint8_t *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

void WriteAll(const char *path, const uint8_t *data, size_t size) {
    FILE *f = fopen(path, "wb");
    if (f == nullptr)
        return;
    fwrite(data, 1, size, f);
    fclose(f);
}

void Tables(const uint8_t *data, size_t size) {
    if (size < 17)
        return;
    WriteAll(SYS_PATH_FILELIST, data + 17, size - 17);
    WriteAll(SYS_PATH_CATFILELIST, data + 17, size - 17);
    for (int raw = 0; raw < VYX_UI_ALBUM_RAW_LISTS; raw++) {
        // Small counts, so that the walk stays within what the file holds and beyond it.
        auto type = (VYX_UI_Album_FileType_E)raw;
        VYX_UI_Album_SetTotalFiles(type, Word(data + 1) % 64);
        VYX_UI_Album_SetFileListOffsetAddr(type, Word(data + 5) % 4096);
        VYX_UI_Album_SetTotalCatlFiles(type, Word(data + 9) % 8);
        VYX_UI_Album_SetCatFileListOffsetAddr(type, Word(data + 13) % 4096);
    }
    for (int t = 0; t <= VYX_UI_ALBUM_TYPE_NOT_SET; t++) {
        auto type = (VYX_UI_Album_FileType_E)t;
        VYX_UI_Album_FileListTable_S table{};
        if (VYX_UI_Album_QueryRecordTable(type, &table) == 0) {
            VYX_UI_Album_ParseRecordTable(type, &table);
            VYX_UI_Album_SortRecordTableByTime(type, &table);
            if (t == VYX_UI_ALBUM_SNAP_EVENT || t == VYX_UI_ALBUM_EMER_EVENT)
                VYX_UI_Album_ParseEventFileListTable(&table);
            VYX_UI_Album_GroupList_S groups{};
            uint32_t n = 0;
            VYX_UI_Album_StatisticalFilesByDateHour(&table, &groups, &n);
            VYX_UI_Album_StatisticalFilesByDate(&table, &groups, &n);
            VYX_UI_Album_StatisticalFilesByEvent(&table, &groups, &n);
            VYX_UI_Album_FreeGroups(&groups);
            char path[256];
            for (uint32_t i = 0; i < table.ulCount; i++) {
                VYX_UI_ALBUM_GetFilePathByRecNode(&table.pstFileList[i], path, sizeof(path));
                VYX_UI_ALBUM_GetFileAbsPath(table.pstFileList[i].szFileName, i % 2);
            }
        }
        VYX_UI_Album_FreeTable(&table);
        VYX_UI_Album_CatListTable_S cats{};
        if (VYX_UI_Album_QueryRalatedFilesTable(type, &cats) == 0 && cats.ulCount > 0) {
            VYX_UI_Album_CatFileInfo_S info;
            VYX_UI_Album_GetActualFileInfoByCatFileName(&cats, cats.pstCatList[0].szCatFileName, &info);
            VYX_UI_Album_GetDurationByCatFileName(&cats, cats.pstCatList[0].szCatFileName);
        }
        VYX_UI_Album_FreeCatTable(&cats);
    }
}

void Notices(const uint8_t *data, size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    AlbumList_TakeAnswer(text.c_str(), (VYX_UI_Album_FileType_E)(size % 4), size % 3 == 0);
    VYX_UI_ALBUM_HasANewFile(text.c_str(), nullptr);
    VYX_UI_ALBUM_DelFileCb(text.c_str(), nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const bool ready = [] {
        mkdir(SYS_PATH("/tmp"), 0777); // the list files' folder, below the build's root
        return true;
    }();
    (void)ready;
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0)
        Tables(data, size);
    else
        Notices(data + 1, size - 1);
    return 0;
}
