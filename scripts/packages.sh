# Sourced by run.sh and test.sh: installs the Debian packages the project needs, only when
# one of them is missing, so a second run costs nothing.

ORVANE_BUILD_PACKAGES=(cmake g++ ninja-build qt6-base-dev qt6-serialport-dev qt6-multimedia-dev
                       qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite)
ORVANE_TEST_PACKAGES=(fonts-dejavu-core strace fonts-liberation2 poppler-utils multimon-ng minimodem pulseaudio pulseaudio-utils
                      desktop-file-utils appstream dpkg-dev lintian libfuzzer-14-dev
                      cups-daemon)

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() { # build-dir [extra cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir"
}
