# make run  : install what is missing, build, run vq-update against the simulated instrument
# make test : install what is missing, build, run every test headless
JOBS ?= $(shell nproc)
BUILD ?= build

FUZZ_SECONDS ?= 60

.PHONY: deps build run test test-asan fuzz fuzz-build fuzz-smoke screenshots package clean

deps:
	@scripts/deps.sh

build: deps
	cmake --preset default >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

run: build
	scripts/run_demo.sh

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

test-asan: deps
	cmake --preset asan >/dev/null
	cmake --build build-asan -j$(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j$(JOBS)

# libFuzzer targets with clang, ASan and UBSan, in build-fuzz/ (not part of make test).
fuzz-build:
	@scripts/deps.sh clang libclang-rt-14-dev
	cmake --preset fuzz >/dev/null
	cmake --build build-fuzz -j$(JOBS)

fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	scripts/fuzz.sh --runs 3000 300

screenshots: build
	scripts/screenshots.sh

# The Debian package in build-package/, checked with lintian.
package: deps
	@scripts/deps.sh lintian dpkg-dev file
	cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build-package -j$(JOBS) --target vq-update vq-update-cli package-docs
	cd build-package && cpack
	lintian --no-tag-display-limit build-package/vq-update_*.deb

clean:
	rm -rf build build-asan build-fuzz build-package
