# What `cmake --install` creates, written down so that uninstall.cmake can take it away again.
#
# Before the first file of a component is installed, every folder of VORLANEX_INSTALL_FOLDERS (and
# every parent up to the first one that exists) that does not exist yet is appended to
# install_folders.txt in the build folder, without DESTDIR, as install_manifest.txt names files. The uninstall then removes the installed files and
# those folders, deepest first, once empty: nothing of the install stays behind, and no folder
# that was there before it goes. CPack's own installs into its staging folder are not recorded.
set(VORLANEX_INSTALL_FOLDERS
  ${CMAKE_INSTALL_BINDIR}
  ${CMAKE_INSTALL_MANDIR}/man1
  ${CMAKE_INSTALL_MANDIR}/man5
  ${CMAKE_INSTALL_DATAROOTDIR}/doc/vorlanex
  ${CMAKE_INSTALL_DATAROOTDIR}/doc/vorlanex-calc
  ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  ${CMAKE_INSTALL_DATADIR}/applications
  ${CMAKE_INSTALL_DATADIR}/metainfo
  ${CMAKE_INSTALL_DATADIR}/mime/packages
  ${CMAKE_INSTALL_DATADIR}/thumbnailers)
# The icon theme's folders: the windows' icons under apps, the case file's under mimetypes.
foreach(size scalable 16x16 32x32 48x48 64x64 128x128 256x256)
  list(APPEND VORLANEX_INSTALL_FOLDERS ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
       ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/mimetypes)
endforeach()
set(VORLANEX_INSTALL_FOLDERS_LIST ${PROJECT_BINARY_DIR}/install_folders.txt)

foreach(component command window)
  install(CODE "
    if(NOT \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\" MATCHES \"/_CPack_Packages/\")
      foreach(folder ${VORLANEX_INSTALL_FOLDERS})
        set(path \"\${CMAKE_INSTALL_PREFIX}/\${folder}\")
        while(NOT EXISTS \"\$ENV{DESTDIR}\${path}\" AND NOT path STREQUAL \"/\")
          file(APPEND \"${VORLANEX_INSTALL_FOLDERS_LIST}\" \"\${path}\\n\")
          get_filename_component(path \"\${path}\" DIRECTORY)
        endwhile()
      endforeach()
    endif()" COMPONENT ${component})
endforeach()
