#include "AlbumHomeModel.h"

#include <unistd.h>

#include "vyx_file_utils.h"
#include "log.h"
#include "sys_paths.h"

namespace Page {

int AlbumHomeModel::Init() {
    CreateAccount("AlbumHomeModel", {DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_SYSTEM_STATUS,
                                     DP_ACCOUNT_INFO_TIPS});
    for (const char *pcPath : {SYS_PATH_FILELIST, SYS_PATH_CATFILELIST}) {
        if (access(pcPath, F_OK) == 0 && unlink(pcPath) != 0) {
            LOG_WARN("rm -rf %s failed\n", pcPath);
        }
    }
    if (access(SYS_PATH_THUMB_CACHE, F_OK) == 0 && VYX_rmDir(SYS_PATH_THUMB_CACHE) != 0) {
        LOG_WARN("rm -rf %s failed\n", SYS_PATH_THUMB_CACHE);
    }
    int s32Ret = 0;
    if (VYX_UI_Album_QueryRecFiles() != 0) {
        s32Ret = -1;
    }
    if (VYX_UI_Album_QuerySnapEventFiles() != 0) {
        s32Ret = -1;
    }
    if (VYX_UI_Album_QueryEmrEventFiles() != 0) {
        s32Ret = -1;
    }
    return s32Ret;
}

void AlbumHomeModel::Deinit() {
    DeleteAccount();
}

uint32_t AlbumHomeModel::FileCount(int32_t eCategory) const {
    VYX_UI_Album_FileType_E eType = Album_CategoryFileType(eCategory);
    return eType == VYX_UI_ALBUM_TYPE_NOT_SET ? 0 : VYX_UI_Album_GetTotalFiles(eType);
}

} // namespace Page
