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

# Checks beyond the test suite, each in a build directory of its own.
SANITIZE_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
LINT_DIR ?= build-lint
FUZZ_SECONDS ?= 60
# Our own sources: what the format and lint checks cover, and all they cover.
OWN_DIRS_RE = (app|ui|rate|tests|fuzz|bench)
# Found with find, not git, so that a copy without git history is checked all the same.
OWN_SOURCES = $(shell find app ui rate tests fuzz bench -type f \( -name '*.cpp' -o -name '*.h' \) | sort)

.PHONY: test-sanitize fuzz lint

# The whole suite with AddressSanitizer and UBSan in our code; any report fails the run. Leaks
# that lie wholly inside third-party libraries are listed, each with its reason, in tests/lsan.supp.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DORVANTA_SANITIZE=ON
	@cmake --build $(SANITIZE_DIR) -j$(JOBS)
	@cd $(SANITIZE_DIR) && \
	    ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
	    UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# libFuzzer on the speed conversion for FUZZ_SECONDS. Inputs it learns from stay in
# $(FUZZ_DIR)/corpus; one that fails is saved there as crash-* or timeout-* and fails the run.
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_CXX_COMPILER=clang++ \
	    -DORVANTA_FUZZ=ON -DBUILD_TESTING=OFF
	@cmake --build $(FUZZ_DIR) -j$(JOBS) --target orvanta_rate_fuzzer
	@mkdir -p $(FUZZ_DIR)/corpus
	@$(FUZZ_DIR)/fuzz/orvanta_rate_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	    -print_final_stats=1 -dict=fuzz/rate.dict -artifact_prefix=$(FUZZ_DIR)/ \
	    $(FUZZ_DIR)/corpus fuzz/corpus

# clang-format, then clang-tidy with .clang-tidy. clang-tidy needs only the headers that moc and
# uic generate, so the lint build runs every target's autogen step (also of targets left out of
# a plain build) and nothing more; generated code itself is never checked.
lint: deps
	@test -n "$(OWN_SOURCES)" && clang-format --dry-run -Werror $(OWN_SOURCES)
	@cmake -S . -B $(LINT_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_CXX_COMPILER=clang++ \
	    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DORVANTA_FUZZ=ON
	@cmake --build $(LINT_DIR) -j$(JOBS) --target $$(cmake --build $(LINT_DIR) --target help \
	    | sed -n 's/^\.\.\. \([A-Za-z0-9_]*_autogen\)$$/\1/p') -- --no-print-directory
	@grep -o '"file": "[^"]*"' $(LINT_DIR)/compile_commands.json | cut -d'"' -f4 \
	    | grep -E '^$(CURDIR)/$(OWN_DIRS_RE)/' \
	    | xargs -r -n1 -P$(JOBS) clang-tidy -p $(LINT_DIR) --quiet \
	        --header-filter='^$(CURDIR)/$(OWN_DIRS_RE)/' > $(LINT_DIR)/clang-tidy.log 2>&1; \
	    status=$$?; grep -v ' warnings generated\.$$' $(LINT_DIR)/clang-tidy.log; exit $$status
	@echo "lint: clean"

# Debian: dist/orvanta_VERSION_ARCH.deb, made by CPack from the install rules against Debian's
# own Qt.
DEB_PACKAGE ?= dist/orvanta_1.0.0_amd64.deb

.PHONY: package test-package

package: build
	@cmake --build $(BUILD_DIR) --target package

# Installs DEB_PACKAGE with apt on this very machine (as root, or through sudo), opens its window,
# validates the installed files, runs lintian and purges it again.
test-package: package
	@packaging/checks/test_deb_package.sh $(DEB_PACKAGE)

# Windows: build-windows/Orvanta.exe, cross-built with MinGW-w64 against a static Qt for Windows
# that scripts/build-qt-windows makes once per machine from Debian's own Qt source package. Its
# test suites run under Wine, on a private display, in each of WINDOWS_LOCALES.
WINDOWS_DIR ?= build-windows
WINDOWS_LOCALES ?= C en_US.UTF-8 el_GR.UTF-8

.PHONY: deps-windows configure-windows windows test-windows

deps-windows:
	@scripts/install-deps windows

# CMake keeps the toolchain that a build folder was first configured with, so a folder made
# against another build of Qt for Windows is made anew.
configure-windows: deps-windows
	@qt=$$(scripts/build-qt-windows --prefix); \
	if [ "$$(cat $(WINDOWS_DIR)/qt-prefix 2>/dev/null)" != "$$qt" ]; then rm -rf $(WINDOWS_DIR); fi; \
	"$$qt/bin/qt-cmake" -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/wine && echo "$$qt" > $(WINDOWS_DIR)/qt-prefix

windows: configure-windows
	@cmake --build $(WINDOWS_DIR) -j$(JOBS)
	@echo "windows: $(WINDOWS_DIR)/Orvanta.exe, $$(stat -c %s $(WINDOWS_DIR)/Orvanta.exe) bytes"

# One Wine session for all the locales: Wine reads the regional settings of every program anew.
test-windows: windows
	@cd $(WINDOWS_DIR) && $(CURDIR)/scripts/wine-session sh -c 'for locale in $(WINDOWS_LOCALES); do \
	    echo "test-windows: the suite under Wine in $$locale"; \
	    LC_ALL=$$locale ctest --output-on-failure || exit 1; done'

# The window after a calculation under Wine, in Greek regional settings, framed by the session's
# window manager as Windows frames it: docs/screenshot-windows.png.
.PHONY: screenshot-windows
screenshot-windows: windows
	@LC_ALL=el_GR.UTF-8 scripts/wine-session scripts/screenshot --wine $(WINDOWS_DIR)/Orvanta.exe \
	    docs/screenshot-windows.png

# Start-up time and memory of Orvanta.exe against a bare window built the same way, both run under
# Wine: their ratios stand in for Windows', their times are Wine's.
.PHONY: bench-windows
bench-windows: configure-windows
	@cmake --build $(WINDOWS_DIR) -j$(JOBS) --target Orvanta orvanta_minimal_window
	@scripts/wine-session cmake --build $(WINDOWS_DIR) --target bench

# Windows: the installer dist/Orvanta-VERSION-win64-setup.exe and the portable
# dist/Orvanta-VERSION-win64.zip, made by CPack from the install rules in the Windows build folder.
WINDOWS_SETUP ?= dist/Orvanta-1.0.0-win64-setup.exe
WINDOWS_ZIP ?= dist/Orvanta-1.0.0-win64.zip

.PHONY: package-windows test-package-windows

package-windows: windows
	@cmake --build $(WINDOWS_DIR) --target package

# Under Wine, in a fresh prefix: runs the portable program, sees the installer speak Greek on an
# English Windows, installs silently, runs the installed program, upgrades over it, uninstalls, and
# compares drive C: and the registry with before.
test-package-windows: package-windows
	@scripts/wine-session packaging/checks/test_windows_packages.sh $(WINDOWS_SETUP) $(WINDOWS_ZIP)

clean:
	@rm -rf $(BUILD_DIR) $(WINDOWS_DIR)
