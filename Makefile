# make run  : install what is missing, build, run vq-update against the simulated instrument
# make test : install what is missing, build, run every test headless
JOBS ?= $(shell nproc)
BUILD ?= build

.PHONY: deps build run test test-asan screenshots clean

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

screenshots: build
	scripts/screenshots.sh

clean:
	rm -rf build build-asan
