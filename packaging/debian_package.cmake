# cpack -G DEB: vemro-font-builder_VERSION_ARCH.deb, its dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME vemro-font-builder)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vemro Font builder developers")
set(CPACK_PACKAGE_CONTACT "${VEMRO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bitmap-font texture atlas maker for games")
set(CPACK_PACKAGE_INSTALL_DIRECTORY vemro-font-builder)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
# What is installed keeps these modes whatever the umask of the machine that packs it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VEMRO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The face a new project starts with.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-core)
# CPack puts the summary above this text.
if(VEMRO_GUI)
    string(CONCAT description_end
        "A window shows the atlas in a zoomable preview, and the same program exports\n"
        "from the command line, for build scripts and build servers.")
else()
    string(CONCAT description_end
        "This build has no window: it exports projects from the command line, for\n"
        "build scripts and build servers, and needs no Qt.")
endif()
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vemro Font builder turns an installed font, or a font file, into a bitmap-font\n"
    "texture atlas for games: it draws the characters a project lists, packs them\n"
    "into texture pages and writes BMFont descriptors (text, XML or binary), JSON or\n"
    "its own glyph description with PNG or TGA pages, with true metrics and the\n"
    "font's kerning. Outlines, shadows and signed distance fields can be baked in.\n"
    "${description_end}")

include(CPack)
