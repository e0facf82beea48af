# Where an installed game puts its files, and the rules that put them there, in Debian's layout for
# games: the program in <prefix>/games, its pictures in <prefix>/share/games/quorvantile, the
# documentation in <prefix>/share/doc/quorvantile. `cmake --install` honours DESTDIR.

set(CMAKE_INSTALL_DOCDIR "share/doc/quorvantile" CACHE PATH "Documentation: copyright and changelog")
include(GNUInstallDirs)
set(QV_INSTALL_GAMESDIR "games" CACHE PATH "The program, relative to the prefix")
set(QV_INSTALL_GAMEDATADIR "${CMAKE_INSTALL_DATADIR}/games/quorvantile" CACHE PATH "The pictures, relative to the prefix")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Facts the desktop files and the manual page show.
set(QV_RELEASE_DATE "2026-12-07")
set(QV_APP_ID "org.example.quorvantile")          # until the game has a home of its own
set(QV_HOMEPAGE "https://quorvantile.example.org") # likewise
execute_process(COMMAND date -u -R -d "${QV_RELEASE_DATE}" OUTPUT_VARIABLE QV_RELEASE_DATE_RFC2822
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

foreach(dir GAMESDIR GAMEDATADIR)
  if(IS_ABSOLUTE "${QV_INSTALL_${dir}}")
    set(QV_FULL_${dir} "${QV_INSTALL_${dir}}")
  else()
    set(QV_FULL_${dir} "${CMAKE_INSTALL_PREFIX}/${QV_INSTALL_${dir}}")
  endif()
endforeach()
file(RELATIVE_PATH QV_DATA_FROM_PROGRAM "${QV_FULL_GAMESDIR}" "${QV_FULL_GAMEDATADIR}")

set(generated ${CMAKE_BINARY_DIR}/generated)
configure_file(cmake/installed_paths.h.in ${generated}/game/installed_paths.h @ONLY)
target_include_directories(qv_game PRIVATE ${generated})

set(packaging ${CMAKE_SOURCE_DIR}/packaging)
configure_file(${packaging}/quorvantile.desktop.in ${generated}/quorvantile.desktop @ONLY)
configure_file(${packaging}/quorvantile.metainfo.xml.in ${generated}/${QV_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/quorvantile.6.in ${generated}/quorvantile.6 @ONLY)
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)

# Manual page and changelog go compressed, without a name or time stamp in the gzip header, so
# that the same sources make the same bytes.
set(compressed)
foreach(file quorvantile.6 changelog)
  add_custom_command(OUTPUT ${generated}/${file}.gz
    COMMAND gzip -9 -n -c ${generated}/${file} > ${generated}/${file}.gz
    DEPENDS ${generated}/${file} VERBATIM)
  list(APPEND compressed ${generated}/${file}.gz)
endforeach()

# Every icon size is drawn by the icon generator itself.
set(QV_ICON_SIZES 16 24 32 48 64 128 256)
set(icons)
foreach(size ${QV_ICON_SIZES})
  set(icon ${generated}/icons/${size}x${size}/quorvantile.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}x${size}
    COMMAND make-icon --size ${size} ${icon}
    DEPENDS make-icon VERBATIM)
  list(APPEND icons ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
set(scalable_icon ${generated}/icons/scalable/quorvantile.svg)
add_custom_command(OUTPUT ${scalable_icon}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/scalable
  COMMAND make-icon ${scalable_icon}
  DEPENDS make-icon VERBATIM)
add_custom_target(install-files ALL DEPENDS ${compressed} ${icons} ${scalable_icon})

install(TARGETS quorvantile RUNTIME DESTINATION ${QV_INSTALL_GAMESDIR})
install(FILES assets/back1_sml.bmp assets/back2_sml.bmp DESTINATION ${QV_INSTALL_GAMEDATADIR})
install(FILES ${generated}/quorvantile.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${scalable_icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${generated}/${QV_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated}/quorvantile.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${packaging}/copyright ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
