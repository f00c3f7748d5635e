# Cross build for the 32-bit ARM device with Debian's arm-linux-gnueabihf toolchain and the
# armhf multiarch libraries; programs and tests run under qemu-arm.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)
# The armhf libraries come from Debian multiarch (libc6:armhf and the -dev:armhf packages), so
# qemu-arm finds the loader at /lib/ld-linux-armhf.so.3 as on a real armhf system.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/arm-linux-gnueabihf/pkgconfig:/usr/share/pkgconfig")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
