# The settings pages: the shared framework (Common) and one directory per page, built into
# ui_pages. Included by Pages/CMakeLists.txt before the pages' manual-time variant is made.
set(SYSSETING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(SYSSETING_PAGE_DIRS Common SettingHome VideoSet SysSet SoundSet ScreenSet)
foreach(d ${SYSSETING_PAGE_DIRS})
  file(GLOB _syss_srcs CONFIGURE_DEPENDS ${SYSSETING_DIR}/${d}/*.cpp)
  target_sources(ui_pages PRIVATE ${_syss_srcs})
  target_include_directories(ui_pages PUBLIC ${SYSSETING_DIR}/${d})
endforeach()
