# The browser build, configured with emcmake by ./web.sh: the game as an
# HTML page, and the whole-game bot as a program for node.

set(CV_WEB_COMMON_LINK -sALLOW_MEMORY_GROWTH=1)

# raylib calls into these; see web/glfw_compat.h.
target_sources(cindervale_core PRIVATE ${CMAKE_SOURCE_DIR}/web/glfw_compat.c)
target_sources(cindervale PRIVATE ${CMAKE_SOURCE_DIR}/web/web_page.cpp)
target_include_directories(cindervale PRIVATE ${CMAKE_SOURCE_DIR})
set_target_properties(cindervale PROPERTIES SUFFIX ".html")
set_property(TARGET cindervale APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/shell.html)
target_link_options(cindervale PRIVATE ${CV_WEB_COMMON_LINK}
  --shell-file ${CMAKE_SOURCE_DIR}/web/shell.html
  # Debian's emscripten 3.1.6 crashes minifying the page of a release link.
  -sMINIFY_HTML=0
  -sEXPORTED_FUNCTIONS=_main,_cv_page_screen,_cv_page_story_stage,_cv_page_dialogue_line,_cv_page_player_x,_cv_page_logic_steps)

add_executable(cindervale_whole_game ${CMAKE_SOURCE_DIR}/tools/whole_game/whole_game_main.cpp)
target_compile_options(cindervale_whole_game PRIVATE ${CINDERVALE_WARNINGS})
target_link_libraries(cindervale_whole_game PRIVATE cindervale_core)
target_link_options(cindervale_whole_game PRIVATE ${CV_WEB_COMMON_LINK} -sENVIRONMENT=node -sEXIT_RUNTIME=1)
