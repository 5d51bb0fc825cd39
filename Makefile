# Front door for building, running and testing on Debian 12.
# Every target first makes sure the packages it needs are installed.

BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= 2

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@$(BUILD_DIR)/Orvanta

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# Start-up time and peak memory against a bare Qt window with the same controls.
bench: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target bench

# The window after a calculation, on a virtual display, saved as docs/screenshot.png.
.PHONY: screenshot
screenshot: build
	@scripts/screenshot $(BUILD_DIR)/Orvanta docs/screenshot.png

clean:
	@rm -rf $(BUILD_DIR)
