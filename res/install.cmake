# What `cmake --install` puts beside the executable so that a Linux desktop lists Tarnvault in
# its menu with its icon: the desktop entry and the icon, as PNG, in the hicolor theme.
add_executable(icon_png ${CMAKE_CURRENT_SOURCE_DIR}/res/install/IconPng.cpp)
target_link_libraries(icon_png PRIVATE Qt6::Gui)

set(icon_pngs)
foreach(size 32 128)
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/res/icon/tarnvault-${size}.xpm)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/tarnvault.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
    COMMAND icon_png ${source} ${png}
    DEPENDS icon_png ${source}
    COMMENT "Icon ${size}x${size} as PNG")
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(tarnvault_icons ALL DEPENDS ${icon_pngs})

install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/res/tarnvault.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
