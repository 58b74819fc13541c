# Set-up and everyday commands; the builds are the presets of CMakePresets.json. Every target first
# installs missing Debian packages.
.PHONY: all deps build run test test-asan package fuzz check-layers check-format bench format screenshot images clean

all: build

deps:
	@scripts/install-deps.sh

build/build.ninja: CMakePresets.json
	cmake --preset dev

build: deps build/build.ninja
	cmake --build --preset dev

run: build
	build/tarvane-le

test: build check-layers
	ctest --preset dev

# The whole suite under AddressSanitizer and UBSan; any report fails the test that caused it.
test-asan: deps check-layers
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# A Debian package of the release build in build-package/, its dependencies read by dpkg-shlibdeps.
package: deps
	@scripts/install-deps.sh dpkg-dev file
	cmake --preset package
	cmake --build --preset package
	cpack --preset package
	@ls build-package/*.deb

# Each libFuzzer harness of tests/fuzz for FUZZ_SECONDS seconds (default 60), from its committed corpus.
fuzz:
	@scripts/install-deps.sh clang-14 libclang-rt-14-dev
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/fuzz.sh

# Fails when a folder includes a header of a folder above it.
check-layers:
	@scripts/check-layers.sh

check-format: deps
	clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')

bench: deps
	@scripts/install-deps.sh libqscintilla2-qt6-dev bc
	cmake --preset bench
	cmake --build --preset bench
	build-bench/bench/tle-bench
	build-bench/bench/tle-wrap-bench
	build-bench/bench/tle-live-check-bench
	build-bench/bench/tle-check-bench
	bench/preview-cpu.sh build-bench/tarvane-le
	bench/field-cpu.sh build-bench/tarvane-le
	LD_PRELOAD=build-bench/bench/libslow-fsync.so SLOW_FSYNC_MS=3000 build-bench/bench/tle-recovery-loss

format: deps
	clang-format -i $$(git ls-files '*.cpp' '*.h')

screenshot: build
	scripts/screenshot.sh build/tarvane-le docs/main-window.png docs/hud-wizard.png docs/live-check.png docs/completion.png

images:
	python3 scripts/gen_images.py incbins

clean:
	rm -rf build build-asan build-release build-bench build-fuzz build-package
