# The settings pages: the shared framework (Common) and one directory per page, built into
# ui_pages. Included by Pages/CMakeLists.txt before the pages' manual-time variant is made.
set(SYSSETING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(SYSSETING_PAGE_DIRS Common SettingHome VideoSet SysSet SoundSet ScreenSet)
# The parking, driving-assistance, reset, more and device-link pages.
list(APPEND SYSSETING_PAGE_DIRS Parking AlgorAssist Reset More Kovar)
foreach(d ${SYSSETING_PAGE_DIRS})
  file(GLOB _syss_srcs CONFIGURE_DEPENDS ${SYSSETING_DIR}/${d}/*.cpp)
  target_sources(ui_pages PRIVATE ${_syss_srcs})
  target_include_directories(ui_pages PUBLIC ${SYSSETING_DIR}/${d})
endforeach()
