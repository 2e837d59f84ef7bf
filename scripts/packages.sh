# The Debian packages the project needs, by purpose. Sourced by setup.sh.
# python3 too: configuring the build registers the Python checks with CTest; file: CPack's DEB
# generator needs it to find the package's dependencies.
BUILD_PACKAGES="cmake ninja-build g++ pkg-config dpkg-dev qt6-base-dev libfontconfig-dev libfluidsynth-dev libpulse-dev libasound2-dev
  libxcb1-dev libglib2.0-dev python3 file"
RUN_PACKAGES="fonts-liberation2 fonts-dejavu-core timgm6mb-soundfont xdg-utils"
TEST_PACKAGES="xvfb openbox xdotool x11-utils imagemagick pulseaudio pulseaudio-utils sox fluidsynth python3-pil
  dbus python3-pyatspi at-spi2-core clang-format lintian desktop-file-utils appstream opus-tools
  weston qt6-wayland pipewire pipewire-pulse wireplumber clang libclang-rt-dev"
