# make run  : install what is missing, build, run vq-update against the simulated instrument
# make test : install what is missing, build, run every test headless
# make windows      : cross-build for 64-bit Windows (MinGW-w64) in build-windows/, pack
#                     dist/vq-update-VERSION-win64.zip (the window and vq-update-cli) and build
#                     the installer dist/vq-update-setup-VERSION.exe (NSIS); with
#                     SIGN_CERT=... SIGN_KEY=... both programs and the installer are signed
# make test-windows : make windows, then run the unit and wizard suites, the CLI's update
#                     table and the window's (driven by an operator program) under Wine, check
#                     the installer and signing, and compile the Qt window's files for Windows
JOBS ?= $(shell nproc)
BUILD ?= build

FUZZ_SECONDS ?= 60

VERSION = $(shell sed -En 's/^project.vq_update VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
WIN_ZIP = dist/vq-update-$(VERSION)-win64.zip
WIN_SETUP = dist/vq-update-setup-$(VERSION).exe
WIN_PROGRAMS = vq-update vq-update-cli
SIGN_CERT ?=
SIGN_KEY ?=
# The zip's time: the last commit's, so the same tree packs the same bytes.
WIN_EPOCH = $(shell git log -1 --format=%ct 2>/dev/null || echo 315532800)

.PHONY: deps build run test test-asan fuzz fuzz-build fuzz-smoke fuzz-long soak screenshots package windows \
        test-windows clean

deps:
	@scripts/deps.sh

build: deps
	cmake --preset default >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

run: build
	scripts/run_demo.sh

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) -LE wine

test-asan: deps
	cmake --preset asan >/dev/null
	cmake --build build-asan -j$(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j$(JOBS) -LE wine

# libFuzzer targets with clang, ASan and UBSan, in build-fuzz/ (not part of make test).
fuzz-build:
	@scripts/deps.sh clang libclang-rt-14-dev
	cmake --preset fuzz >/dev/null
	cmake --build build-fuzz -j$(JOBS)

fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	scripts/fuzz.sh --runs 3000 300

# Every target 20 minutes (FUZZ_SECONDS=N on the command line to change it), each target's
# inputs and inputs per second at the end of its line.
fuzz-long: fuzz-build
	scripts/fuzz.sh $(if $(filter command line environment,$(origin FUZZ_SECONDS)),$(FUZZ_SECONDS),1200)

screenshots: build
	scripts/screenshots.sh

# The Debian package in build-package/, checked with lintian.
package: deps
	@scripts/deps.sh lintian dpkg-dev file
	cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build-package -j$(JOBS) --target vq-update vq-update-cli package-docs
	cd build-package && cpack
	lintian --no-tag-display-limit build-package/vq-update_*.deb

# The Windows cross build: two static .exe (no DLL beside them), with the short text and the
# licence in a zip and in an installer. strip stamps the .exe with SOURCE_DATE_EPOCH, zip the
# files' times.
windows:
	@scripts/deps.sh --windows
	cmake --preset windows >/dev/null
	cmake --build build-windows -j$(JOBS)
	rm -rf build-windows/zip $(WIN_ZIP) $(WIN_SETUP)
	mkdir -p build-windows/zip dist
	for p in $(WIN_PROGRAMS); do \
	  SOURCE_DATE_EPOCH=$(WIN_EPOCH) x86_64-w64-mingw32-strip -o build-windows/zip/$$p.exe build-windows/$$p.exe || exit 1; \
	done
	$(if $(SIGN_CERT),scripts/windows-sign.sh $(SIGN_CERT) $(SIGN_KEY) $(WIN_PROGRAMS:%=build-windows/zip/%.exe))
	sed 's/$$/\r/' packaging/README-windows.txt > build-windows/zip/README-windows.txt
	sed 's/$$/\r/' packaging/copyright > build-windows/zip/LICENSE.txt
	touch -d @$(WIN_EPOCH) build-windows/zip/*
	cd build-windows/zip && TZ=UTC zip -X -j -q ../../$(WIN_ZIP) \
	  $(WIN_PROGRAMS:%=%.exe) README-windows.txt LICENSE.txt
	SOURCE_DATE_EPOCH=$(WIN_EPOCH) makensis -V2 -DVERSION=$(VERSION) -DSTAGE=$(CURDIR)/build-windows/zip \
	  -DOUTFILE=$(CURDIR)/$(WIN_SETUP) -DICON=$(CURDIR)/packaging/windows/vq-update.ico packaging/windows/vq-update.nsi
	$(if $(SIGN_CERT),scripts/windows-sign.sh $(SIGN_CERT) $(SIGN_KEY) $(WIN_SETUP))
	@echo "$(WIN_ZIP)"
	@echo "$(WIN_SETUP)"

# The suites under Wine, then vq-update-cli.exe against vq-sim (a test of the Linux build).
test-windows: windows build
	ctest --test-dir build-windows --output-on-failure -j$(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -L wine
	scripts/windows-sign.sh --check $(WIN_PROGRAMS:%=build-windows/zip/%.exe) $(WIN_SETUP)
	scripts/windows-qt-check.sh $(BUILD)

clean:
	rm -rf build build-asan build-fuzz build-package build-windows dist
