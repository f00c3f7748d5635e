#include "AppFactory.h"

#include <string.h>

#include "FacTest.h"
#include "Home.h"
#include "InstallGuide.h"
#include "ParkingEvtToast.h"
#include "SysStateToastPage.h"

/*
 * Class names are compared exactly, in this order, each creating Page::<name>: Home, AlbumHome,
 * AlbumFileList, AlbumPlayer, SysSetingHome, SysSetingVideoSet, SysSetingSysSet,
 * SysSetingParking, SysSetingAlgorAssist, SysSetingSoundSet, SysSetingMore, SysSetingKovar,
 * FacTest, InstallGuide, ParkingEvtToast, SysStateToastPage, SysSetingScreenSet, SysSetingReset.
 * A class joins the comparison when its page is added; there is no "SysSetingFormat" class.
 */
PageBase *AppFactory::CreatePage(const char *name) {
    if (name == nullptr) {
        return nullptr;
    }
    if (strcmp(name, "Home") == 0) {
        return new Page::Home;
    }
    /* "AlbumHome", "AlbumFileList", "AlbumPlayer": the album pages join here. */
    /* "SysSetingHome" ... "SysSetingReset": the settings pages join here. */
    /* "FacTest", "InstallGuide", "ParkingEvtToast", "SysStateToastPage": the system pages join here. */
    if (strcmp(name, "FacTest") == 0) {
        return new Page::FacTest;
    }
    if (strcmp(name, "InstallGuide") == 0) {
        return new Page::InstallGuide;
    }
    if (strcmp(name, "ParkingEvtToast") == 0) {
        return new Page::ParkingEvtToast;
    }
    if (strcmp(name, "SysStateToastPage") == 0) {
        return new Page::SysStateToastPage;
    }
    return nullptr;
}
