CMakeFiles/vqqt.dir/src/platform/qt/termios2_flags.cpp.o: \
 /work/main/src/platform/qt/termios2_flags.cpp /usr/include/stdc-predef.h \
 /work/main/src/platform/qt/termios2_flags.h \
 /usr/include/x86_64-linux-gnu/asm/termbits.h \
 /usr/include/asm-generic/termbits.h \
 /usr/include/asm-generic/termbits-common.h \
 /usr/include/x86_64-linux-gnu/sys/ioctl.h /usr/include/features.h \
 /usr/include/features-time64.h \
 /usr/include/x86_64-linux-gnu/bits/wordsize.h \
 /usr/include/x86_64-linux-gnu/bits/timesize.h \
 /usr/include/x86_64-linux-gnu/sys/cdefs.h \
 /usr/include/x86_64-linux-gnu/bits/long-double.h \
 /usr/include/x86_64-linux-gnu/gnu/stubs.h \
 /usr/include/x86_64-linux-gnu/gnu/stubs-64.h \
 /usr/include/x86_64-linux-gnu/bits/ioctls.h \
 /usr/include/x86_64-linux-gnu/asm/ioctls.h \
 /usr/include/asm-generic/ioctls.h /usr/include/linux/ioctl.h \
 /usr/include/x86_64-linux-gnu/asm/ioctl.h \
 /usr/include/asm-generic/ioctl.h \
 /usr/include/x86_64-linux-gnu/bits/ioctl-types.h \
 /usr/include/x86_64-linux-gnu/sys/ttydefaults.h
