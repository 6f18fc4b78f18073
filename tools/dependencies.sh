# Installs the Debian packages the project needs when they are missing. Sourced by run.sh and
# test.sh with the list of packages as arguments. As root it runs apt-get itself; otherwise it
# prints the one apt-get line to run and stops.
install_missing_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ "${#missing[@]}" -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -q && apt-get install -y -q --no-install-recommends "${missing[@]}"
    else
        echo "These Debian packages are missing. Install them with:"
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}"
        exit 1
    fi
}

# What the program needs to be built and run: the window's layout is measured in Liberation Sans,
# Qt's own texts are Czech with Qt's translations, and vorlanex-calc judges --separator by ICU's
# character properties and gives a case file's SHA-256 by OpenSSL.
BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libgl-dev libjpeg62-turbo-dev nlohmann-json3-dev libdbus-1-dev
                libicu-dev libssl-dev libboost-dev fonts-liberation qt6-translations-l10n qt6-svg-dev
                # vorlanex-protocol, the case window's PDF and printing: Debian's Chromium prints the
                # report's HTML, qpdf joins the parts and numbers their pages, CUPS prints it.
                chromium libqpdf-dev libcups2-dev)
# What the test suite needs besides: the validators of the desktop entry and the AppStream metadata,
# groff to read the manual pages, and the formatter the code is checked against.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang clang-format libclang-rt-14-dev locales
               xvfb dbus-daemon dbus-bin at-spi2-core python3-dbus libxml2-dev poppler-utils
               desktop-file-utils appstream groff-base)
# What the Windows build and its tests need besides: Debian's mingw-w64 GCC with the posix thread
# model (std::thread) and Wine, which runs vorlanex-calc.exe beside the Linux build's command.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 wine)
# What cpack -G DEB needs besides: dpkg-shlibdeps finds the package's library dependencies; and
# lintian, which package.sh runs on the packages.
PACKAGE_PACKAGES=(dpkg-dev file lintian)
# What the Windows installer needs (./package.sh windows): the mingw-w64 cross compiler and NSIS.
WINDOWS_INSTALLER_PACKAGES=(cmake g++-mingw-w64-x86-64-posix nlohmann-json3-dev libboost-dev libicu-dev nsis)
# What the tests of the Windows window and installer need besides (Wine on a private X display):
# 32-bit Wine (install_32bit_wine) for NSIS's installer and uninstaller, which are 32-bit
# programs, and the MS Sans Serif the window's layout is drawn in (fonts-wine).
WINDOWS_TEST_PACKAGES=(fonts-wine xvfb xauth)

# 32-bit Wine comes from the i386 architecture, which a 64-bit Debian has to be told about first.
install_32bit_wine() {
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "32-bit Wine is missing. Install it with:"
        echo "  sudo dpkg --add-architecture i386 && sudo apt-get update && sudo apt-get install -y wine32:i386"
        exit 1
    fi
    dpkg --add-architecture i386
    install_missing_packages wine32:i386
}
