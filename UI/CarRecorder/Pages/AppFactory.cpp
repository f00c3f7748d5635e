#include "AppFactory.h"

/*
 * Class names are compared exactly, in this order, each creating Page::<name>: Home, AlbumHome,
 * AlbumFileList, AlbumPlayer, SysSetingHome, SysSetingVideoSet, SysSetingSysSet,
 * SysSetingParking, SysSetingAlgorAssist, SysSetingSoundSet, SysSetingMore, SysSetingKovar,
 * FacTest, InstallGuide, ParkingEvtToast, SysStateToastPage, SysSetingScreenSet, SysSetingReset.
 * A class joins the comparison when its page is added (none is yet); there is no
 * "SysSetingFormat" class.
 */
PageBase *AppFactory::CreatePage(const char *name) {
    (void)name;
    return nullptr;
}
