#include "AppFactory.h"

#include <string.h>

#include "AlbumFileList.h"
#include "AlbumHome.h"
#include "AlbumPlayer.h"
#include "FacTest.h"
#include "Home.h"
#include "InstallGuide.h"
#include "ParkingEvtToast.h"
#include "SysSetingAlgorAssist.h"
#include "SysSetingHome.h"
#include "SysSetingKovar.h"
#include "SysSetingMore.h"
#include "SysSetingParking.h"
#include "SysSetingReset.h"
#include "SysSetingScreenSet.h"
#include "SysSetingSoundSet.h"
#include "SysSetingSysSet.h"
#include "SysSetingVideoSet.h"
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
    if (strcmp(name, "AlbumHome") == 0) {
        return new Page::AlbumHome;
    }
    if (strcmp(name, "AlbumFileList") == 0) {
        return new Page::AlbumFileList;
    }
    if (strcmp(name, "AlbumPlayer") == 0) {
        return new Page::AlbumPlayer;
    }
    /* "SysSetingHome" ... "SysSetingReset": the settings pages join here. */
    if (strcmp(name, "SysSetingHome") == 0) {
        return new Page::SysSetingHome;
    }
    if (strcmp(name, "SysSetingVideoSet") == 0) {
        return new Page::SysSetingVideoSet;
    }
    if (strcmp(name, "SysSetingSysSet") == 0) {
        return new Page::SysSetingSysSet;
    }
    if (strcmp(name, "SysSetingParking") == 0) {
        return new Page::SysSetingParking;
    }
    if (strcmp(name, "SysSetingAlgorAssist") == 0) {
        return new Page::SysSetingAlgorAssist;
    }
    if (strcmp(name, "SysSetingSoundSet") == 0) {
        return new Page::SysSetingSoundSet;
    }
    if (strcmp(name, "SysSetingMore") == 0) {
        return new Page::SysSetingMore;
    }
    if (strcmp(name, "SysSetingKovar") == 0) {
        return new Page::SysSetingKovar;
    }
    if (strcmp(name, "SysSetingScreenSet") == 0) {
        return new Page::SysSetingScreenSet;
    }
    if (strcmp(name, "SysSetingReset") == 0) {
        return new Page::SysSetingReset;
    }
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
