# Warnings for every target of ours.
function(tracella_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# A library of logic that must not see Qt Widgets: only Core and Gui are linked.
function(tracella_logic_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui)
  tracella_warnings(${name})
  # Pretend QtWidgets' global header was already read: any widget header
  # included here then lacks its export macros and the build fails.
  target_compile_definitions(${name} PRIVATE QTWIDGETSGLOBAL_H)
endfunction()

# Adds window sources to the UI library (nothing when only logic is built).
function(tracella_ui_sources)
  if(TARGET tracella_ui)
    target_sources(tracella_ui PRIVATE ${ARGN})
  endif()
endfunction()

function(tracella_ui_link)
  if(TARGET tracella_ui)
    target_link_libraries(tracella_ui PUBLIC ${ARGN})
  endif()
endfunction()
