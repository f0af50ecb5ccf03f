# The folders of the engine library: everything that decides, Qt Core and
# Gui only. The app lives in src/app, the command-line tool in src/cli; the
# folder a file is in decides its target.
set(QUORVEL_ENGINE_FOLDERS model resources surface shell imaging editing library properties project runmode webpage session)

# The engine's sources under a source root.
function(quorvel_engine_sources root out)
  set(found_all)
  foreach(dir ${QUORVEL_ENGINE_FOLDERS})
    file(GLOB found CONFIGURE_DEPENDS ${root}/src/${dir}/*.cpp)
    list(APPEND found_all ${found})
  endforeach()
  set(${out} ${found_all} PARENT_SCOPE)
endfunction()

# The engine's data files, compiled into the target as Qt resources.
function(quorvel_engine_resources target root)
  qt_add_resources(${target} quorvel_data PREFIX "/" BASE ${root}/src/resources/data
                   FILES ${root}/src/resources/data/help.txt)
  # The web page's template, look, run rules and player.
  qt_add_resources(${target} quorvel_webpage PREFIX "/webpage" BASE ${root}/src/webpage
                   FILES ${root}/src/webpage/page.html ${root}/src/webpage/page.css ${root}/src/webpage/rules.js
                         ${root}/src/webpage/player.js)
endfunction()
