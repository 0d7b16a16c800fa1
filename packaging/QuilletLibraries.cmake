# The record store and its Qt controls as libraries for other programs: libquillet-store.so.0 and
# libquillet-qt.so.0 go into the application's package (Quillet's own programs link them); the
# headers, the unversioned .so links, the CMake package and the pkg-config files go into
# quillet-dev. Everything is found relative to where it lies, so an installed prefix can move.
include(CMakePackageConfigHelpers)

# The programs and the Qt library find libquillet-store beside or below themselves.
file(RELATIVE_PATH QUILLET_LIBDIR_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(quillet quillet-schedule PROPERTIES
  INSTALL_RPATH "$ORIGIN/${QUILLET_LIBDIR_FROM_BINDIR}")
set_target_properties(quillet_qt PROPERTIES INSTALL_RPATH "$ORIGIN")
target_compile_features(quillet_store_shared PUBLIC cxx_std_20)

set(QUILLET_INCLUDES ${CMAKE_INSTALL_INCLUDEDIR}/quillet)
foreach(library quillet_store_shared quillet_qt)
  if(library STREQUAL quillet_qt)
    set(exportSet QuilletQtTargets)
  else()
    set(exportSet QuilletStoreTargets)
  endif()
  install(TARGETS ${library} EXPORT ${exportSet}
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
                  COMPONENT application NAMELINK_COMPONENT dev
          INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} ${QUILLET_INCLUDES})
endforeach()

# Exactly what a caller needs; the engines, the dialect and the operation frame stay inside.
# Each list is the folder under include/quillet and its headers.
set(store ${CMAKE_SOURCE_DIR}/store)
set(adapters ${CMAKE_SOURCE_DIR}/app/adapters)
set(QUILLET_HEADERS_TOP ${store}/Quillet.h ${store}/VekClass.h ${adapters}/QuilletQt.h)
set(QUILLET_HEADERS_RUNTIME ${store}/runtime/Date.h ${store}/runtime/Dispatch.h
    ${store}/runtime/RuntimeError.h ${store}/runtime/Variant.h)
set(QUILLET_HEADERS_UI ${store}/ui/Controls.h ${store}/ui/MessageBox.h)
set(QUILLET_HEADERS_ENGINE ${store}/engine/Connection.h ${store}/engine/Recordset.h)
set(QUILLET_HEADERS_ADAPTERS ${adapters}/QtControls.h ${adapters}/QtMessageBoxes.h
    ${adapters}/RecordsetModel.h ${adapters}/TableViewGrid.h)
install(FILES ${QUILLET_HEADERS_TOP} ${CMAKE_BINARY_DIR}/store/generated/quillet_store_export.h
              ${CMAKE_BINARY_DIR}/app/generated/quillet_qt_export.h
        DESTINATION ${QUILLET_INCLUDES} COMPONENT dev)
foreach(folder runtime ui engine adapters)
  string(TOUPPER ${folder} list)
  install(FILES ${QUILLET_HEADERS_${list}} DESTINATION ${QUILLET_INCLUDES}/${folder} COMPONENT dev)
endforeach()

# The reference of those headers (make docs), installed with quillet-dev when it was built.
find_package(Doxygen)
if(DOXYGEN_FOUND)
  set(DOXYGEN_PROJECT_NAME "Quillet record store")
  set(DOXYGEN_PROJECT_NUMBER ${PROJECT_VERSION})
  set(DOXYGEN_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/reference)
  set(DOXYGEN_STRIP_FROM_PATH ${store} ${CMAKE_SOURCE_DIR}/app ${CMAKE_SOURCE_DIR}/docs)
  set(DOXYGEN_STRIP_FROM_INC_PATH ${store} ${CMAKE_SOURCE_DIR}/app)
  set(DOXYGEN_USE_MDFILE_AS_MAINPAGE ${CMAKE_SOURCE_DIR}/docs/library.md)
  set(DOXYGEN_PREDEFINED QUILLET_STORE_EXPORT= QUILLET_QT_EXPORT= Q_OBJECT=)
  set(DOXYGEN_EXTRACT_PRIVATE NO)
  set(DOXYGEN_HIDE_UNDOC_MEMBERS NO)
  set(DOXYGEN_WARN_IF_UNDOCUMENTED NO)
  set(DOXYGEN_GENERATE_LATEX NO)
  doxygen_add_docs(docs ${CMAKE_SOURCE_DIR}/docs/library.md ${QUILLET_HEADERS_TOP}
    ${QUILLET_HEADERS_RUNTIME} ${QUILLET_HEADERS_UI} ${QUILLET_HEADERS_ENGINE}
    ${QUILLET_HEADERS_ADAPTERS}
    COMMENT "The reference of the installed headers: ${CMAKE_BINARY_DIR}/reference/html")
  install(DIRECTORY ${CMAKE_BINARY_DIR}/reference/html
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillet-dev COMPONENT dev OPTIONAL)
endif()

# find_package(Quillet 0.1 REQUIRED COMPONENTS Store Qt)
set(QUILLET_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quillet)
install(EXPORT QuilletStoreTargets NAMESPACE Quillet:: DESTINATION ${QUILLET_CMAKE_DIR}
        COMPONENT dev)
install(EXPORT QuilletQtTargets NAMESPACE Quillet:: DESTINATION ${QUILLET_CMAKE_DIR}
        COMPONENT dev)
configure_package_config_file(library/QuilletConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QuilletConfig.cmake INSTALL_DESTINATION ${QUILLET_CMAKE_DIR})
# The SONAME changes with the major version, and so does what a caller may rely on.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuilletConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QuilletConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/QuilletConfigVersion.cmake
        DESTINATION ${QUILLET_CMAKE_DIR} COMPONENT dev)

# pkg-config files that find the prefix from their own folder.
file(RELATIVE_PATH QUILLET_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
     ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" QUILLET_PC_TO_PREFIX "${QUILLET_PC_TO_PREFIX}")
foreach(pc quillet-store quillet-qt)
  configure_file(library/${pc}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc
          DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endforeach()

# Two Debian packages: quillet (the programs and the two libraries) and quillet-dev.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL application dev)
set(CPACK_DEBIAN_APPLICATION_PACKAGE_NAME quillet)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME quillet-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
# The CMake package of the Qt component looks for Qt6 Widgets.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "quillet (= ${PROJECT_VERSION}), qt6-base-dev")
set(CPACK_DEBIAN_DEV_PACKAGE_SHLIBDEPS OFF)
# Per package long descriptions (CPack puts the one summary line before each).
set(CPACK_DEBIAN_APPLICATION_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
string(JOIN "\n" CPACK_DEBIAN_DEV_DESCRIPTION
       "This package holds the development files of Quillet's record-store class:"
       "headers, the CMake package (find_package(Quillet COMPONENTS Store Qt)) and"
       "the pkg-config files (quillet-store, quillet-qt) for building programs"
       "against libquillet-store, the record-store class VekClass, and libquillet-qt,"
       "the Qt widgets handed to it as its controls; and the class's reference.")
# The programs' own libraries are in the same package: dpkg-shlibdeps finds them there.
set(CPACK_DEBIAN_APPLICATION_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)

# The exported symbols of each library against the lists kept in packaging/abi: a change of the
# interface other programs bind to must come with a new version (scripts/check-abi.sh).
if(QUILLET_CHECK_INSTALLED_TREE)
  foreach(library quillet_store_shared quillet_qt)
    get_target_property(name ${library} OUTPUT_NAME)
    add_test(NAME abi_lib${name}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-abi.sh $<TARGET_FILE:${library}>
                     ${CMAKE_CURRENT_SOURCE_DIR}/abi/lib${name}.symbols ${PROJECT_VERSION})
  endforeach()

  # install_layout also builds three programs against the installed prefix.
  set_tests_properties(install_layout PROPERTIES TIMEOUT 900)
endif()
