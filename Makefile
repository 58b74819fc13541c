# Set-up and everyday commands. Every target first installs missing Debian packages.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps build run test bench format screenshot images clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_EXPORT_COMPILE_COMMANDS=ON $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/tarvane-le

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: deps
	@scripts/install-deps.sh libqscintilla2-qt6-dev
	cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTLE_BENCH=ON
	cmake --build $(BUILD_DIR)-bench --target benchmarks
	$(BUILD_DIR)-bench/bench/tle-bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

screenshot: build
	scripts/screenshot.sh $(BUILD_DIR)/tarvane-le docs/main-window.png

images:
	python3 scripts/gen_images.py incbins

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench
