# The tavo executable: application object, main frame, About box, resources.
add_library(tavo_resources STATIC resources/resources.cpp)
target_link_libraries(tavo_resources PUBLIC tavo_platform_ui)

# The view library comes with the view; until it exists there is no program.
if(NOT TARGET tavo_view)
  return()
endif()

add_library(tavo_app STATIC
  app/aboutdlg.cpp
  app/checkcommand.cpp
  app/cmdlineinfo.cpp
  app/configdir.cpp
  app/loadfailure.cpp
  app/mainfrm.cpp
  app/printcommand.cpp
  app/tavoapp.cpp)
target_link_libraries(tavo_app PUBLIC tavo_view tavo_resources tavo_settings_record)
# The one version of the program: --version, the About box and the package.
target_compile_definitions(tavo_app PUBLIC TAVO_VERSION="${PROJECT_VERSION}")

add_executable(tavo app/main.cpp)
target_link_libraries(tavo PRIVATE tavo_app)
