# Front door for building, running and testing on Debian 12.
# Every target first makes sure the packages it needs are installed. Paths are quoted wherever a
# shell sees them, so the checkout may sit in a folder named like "Τα έγγραφά μου/orvanta (2)".

BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= 2
# Extra settings for every CMake configure step, such as -DBUILD_TESTING=OFF.
CMAKE_ARGS ?=

# The version is written once, in the project() line of CMakeLists.txt.
VERSION := $(shell sed -n 's/^project.Orvanta VERSION \([0-9]*\.[0-9]*\.[0-9]*\).*/\1/p' CMakeLists.txt)

# Every time stamp that a build writes (in embedded resources, the Windows executable's header,
# the packages) is the time of the commit it is built from, never the clock's. An unpacked source
# release has no git, so the release writes that time into it.
ifndef SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH := $(shell cat .source-date-epoch 2>/dev/null || git log -1 --format=%ct 2>/dev/null)
endif
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

.PHONY: all deps configure build run test bench clean

all: build

# Each target installs the set of packages it needs (scripts/install-deps says which and why):
# building and running need the fewest, and every heavier target names its own set below.
DEPS_SET = build
deps:
	@scripts/install-deps $(DEPS_SET)

# A new build folder is configured without the test suite, whose checks need tools of their own
# (CMakeLists.txt); make test and make test-windows turn it on, and it stays on in that folder.
TESTING =
configure: deps
	@cmake -S . -B "$(BUILD_DIR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	    $(if $(TESTING),-DBUILD_TESTING=$(TESTING)) $(CMAKE_ARGS)

build: configure
	@cmake --build "$(BUILD_DIR)" -j$(JOBS)

run: build
	@"$(BUILD_DIR)/Orvanta"

test: DEPS_SET = test
test: TESTING = ON
test: build
	@cd "$(BUILD_DIR)" && QT_QPA_PLATFORM=offscreen ctest --no-tests=error --output-on-failure -j$(JOBS)

# Start-up time and peak memory against a bare Qt window with the same controls.
bench: DEPS_SET = bench
bench: configure
	@cmake --build "$(BUILD_DIR)" -j$(JOBS) --target bench

# The window after a calculation, on a virtual display, saved as docs/screenshot.png.
.PHONY: screenshot
screenshot: DEPS_SET = screenshot
screenshot: build
	@scripts/screenshot "$(BUILD_DIR)/Orvanta" docs/screenshot.png

# Checks beyond the test suite, each in a build directory of its own.
SANITIZE_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
LINT_DIR ?= build-lint
FUZZ_SECONDS ?= 60
# Our own sources: what the format and lint checks cover, and all they cover.
OWN_DIRS_RE = (core|qt|win32|tests|fuzz|bench)
# Found with find, not git, so that a copy without git history is checked all the same.
OWN_SOURCES = $(shell find core qt win32 tests fuzz bench -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
# Built for Windows alone, so not in the Linux build that clang-tidy reads; formatted all the same.
WINDOWS_ONLY_SOURCES = win32/% bench/minimal_window_win32.% tests/win32/%

# The scripts that flake8 and shellcheck read, all of them, by their suffix or by the interpreter
# their first line names.
PYTHON_SCRIPTS = $(shell for f in $$(find bench packaging scripts tests -type f | LC_ALL=C sort); \
    do case "$$f" in (*.py) echo "$$f" ;; \
    (*) head -n1 "$$f" | grep -q '^.!.*python' && echo "$$f" ;; esac; done)
SHELL_SCRIPTS = $(shell for f in $$(find packaging scripts -type f | LC_ALL=C sort); \
    do case "$$f" in (*.sh) echo "$$f" ;; \
    (*) head -n1 "$$f" | grep -Eq '^.!.*[/ ](ba)?sh$$' && echo "$$f" ;; esac; done)
.PHONY: test-sanitize fuzz lint

# The whole suite with AddressSanitizer and UBSan in our code; any report fails the run. Leaks
# that lie wholly inside third-party libraries are listed, each with its reason, in tests/lsan.supp.
test-sanitize: DEPS_SET = sanitize
test-sanitize: deps
	@cmake -S . -B "$(SANITIZE_DIR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DORVANTA_SANITIZE=ON \
	    -DBUILD_TESTING=ON
	@cmake --build "$(SANITIZE_DIR)" -j$(JOBS)
	@supp="$$PWD/tests/lsan.supp" && cd "$(SANITIZE_DIR)" && \
	    ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
	    UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1 \
	    LSAN_OPTIONS="suppressions=\"$$supp\"" \
	    QT_QPA_PLATFORM=offscreen ctest --no-tests=error --output-on-failure -j$(JOBS)

# libFuzzer on the speed conversion for FUZZ_SECONDS. Inputs it learns from stay in
# $(FUZZ_DIR)/corpus; one that fails is saved there as crash-* or timeout-* and fails the run.
fuzz: DEPS_SET = fuzz
fuzz: deps
	@cmake -S . -B "$(FUZZ_DIR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_CXX_COMPILER=clang++ \
	    -DORVANTA_FUZZ=ON -DBUILD_TESTING=OFF
	@cmake --build "$(FUZZ_DIR)" -j$(JOBS) --target orvanta_rate_fuzzer
	@mkdir -p "$(FUZZ_DIR)/corpus"
	@"$(FUZZ_DIR)/fuzz/orvanta_rate_fuzzer" -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	    -print_final_stats=1 -dict=fuzz/rate.dict -artifact_prefix="$(FUZZ_DIR)/" \
	    "$(FUZZ_DIR)/corpus" fuzz/corpus

# Every file's licence (reuse); the documents' links and make targets (scripts/check-docs, after
# its own test); the Python and shell scripts; the spelling of English prose and comments
# (.codespellrc); clang-format, then clang-tidy with .clang-tidy. clang-tidy needs only the
# headers that moc and uic generate, so the lint build runs every target's autogen step (also of
# targets left out of a plain build) and nothing more; generated code itself is never checked.
lint: DEPS_SET = lint
lint: deps
	@out=$$(reuse --root "$(CURDIR)" lint 2>&1) || { printf '%s\n' "$$out" >&2; exit 1; }
	@out=$$(python3 scripts/test-check-docs 2>&1) || { printf '%s\n' "$$out" >&2; exit 1; }
	@scripts/check-docs > /dev/null
	@flake8 $(PYTHON_SCRIPTS)
	@shellcheck $(SHELL_SCRIPTS)
	@codespell
	@test -n "$(OWN_SOURCES)" && clang-format --dry-run -Werror $(OWN_SOURCES)
	@cmake -S . -B "$(LINT_DIR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_CXX_COMPILER=clang++ \
	    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DORVANTA_FUZZ=ON -DBUILD_TESTING=ON
	@cmake --build "$(LINT_DIR)" -j$(JOBS) --target $$(cmake --build "$(LINT_DIR)" --target help \
	    | sed -n 's/^\.\.\. \([A-Za-z0-9_]*_autogen\)$$/\1/p') -- --no-print-directory
	@top=$$(printf '%s' "$$PWD" | sed 's/[][\\.*^$$()+?{}|]/\\&/g'); \
	printf '%s\0' $(filter-out $(WINDOWS_ONLY_SOURCES),$(filter %.cpp,$(OWN_SOURCES))) \
	    | xargs -0 -r -n1 -P$(JOBS) clang-tidy -p "$(LINT_DIR)" --quiet \
	        --header-filter="^$$top/$(OWN_DIRS_RE)/" > "$(LINT_DIR)/clang-tidy.log" 2>&1; \
	    status=$$?; grep -v ' warnings generated\.$$' "$(LINT_DIR)/clang-tidy.log"; exit $$status
	@echo "lint: clean"

# Debian: one package per Debian release, each made by CPack from the install rules against that
# release's own Qt, and named by it as Debian names per-release builds (packaging/cpack.cmake):
# dist/orvanta_VERSION~deb12_ARCH.deb here, with Qt 6.4, and dist/orvanta_VERSION~deb13_ARCH.deb
# in a pinned Debian 13 root, with Qt 6.8, whose announcement Qt 6.4 lacks.
DEB_ARCH := $(shell dpkg --print-architecture)
DEB_PACKAGE ?= dist/orvanta_$(VERSION)~deb12_$(DEB_ARCH).deb
DEB13_PACKAGE ?= dist/orvanta_$(VERSION)~deb13_$(DEB_ARCH).deb
DEB13_DIR ?= build-debian13
# Commands in the Debian 13 build root (scripts/windows-tools, ORVANTA_ROOT_PROFILE=package-build).
DEBIAN13_BUILD = ORVANTA_ROOT_PROFILE=package-build scripts/windows-tools

.PHONY: package test-package package-debian13

# CPack gives the folders and files it makes itself the builder's umask and stores those modes in
# the packages, so packing runs under the usual 022 whatever the builder's is. Its archiver reads
# the build folder's path in the locale's character set, which in the C locale fails on a folder
# named in Greek, so packing runs in C.UTF-8. A zip stores its times as local times, so packing
# runs in UTC.
PACK = umask 022 && LC_ALL=C.UTF-8 TZ=UTC cmake --build
PACK_WINDOWS = umask 022 && LC_ALL=C.UTF-8 TZ=UTC $(WINDOWS_TOOLS) cmake --build

package test-package: DEPS_SET = package
package: build
	@$(PACK) "$(BUILD_DIR)" --target package

package-debian13: DEPS_SET = package
package-debian13: deps
	@$(DEBIAN13_BUILD) --make
	@$(DEBIAN13_BUILD) cmake -S . -B "$(DEB13_DIR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	    $(if $(TESTING),-DBUILD_TESTING=$(TESTING)) $(CMAKE_ARGS)
	@$(DEBIAN13_BUILD) cmake --build "$(DEB13_DIR)" -j$(JOBS)
	@umask 022 && LC_ALL=C.UTF-8 TZ=UTC $(DEBIAN13_BUILD) cmake --build "$(DEB13_DIR)" --target package

# Installs DEB_PACKAGE with apt on this very machine (as root, or through sudo), opens its window
# and reads it as a screen reader does, validates the installed files, runs lintian and purges it
# again; then DEB13_PACKAGE the same in a throwaway copy of a pinned Debian 13 root, with Debian
# 13's Qt 6.8, where its window also runs under a headless Wayland compositor and announces the
# figures that Calculate writes.
test-package: package package-debian13
	@packaging/checks/test_deb_package.sh "$(DEB_PACKAGE)"
	@packaging/checks/test_deb_on_debian13.sh "$(DEB13_PACKAGE)"

# Windows: build-windows/Orvanta.exe, a native Win32 program cross-built with MinGW-w64: Windows'
# own controls, no toolkit. Its tests run under Wine, on a private display, in each of
# WINDOWS_LOCALES. The Windows tools are Debian 13's, from a root of their own that WINDOWS_TOOLS
# runs commands in; the scripts that need them enter it themselves.
WINDOWS_DIR ?= build-windows
WINDOWS_TOOLS = scripts/windows-tools
# C.UTF-8 rather than C: Wine cannot open a Unix file name that is not ASCII in the C locale.
WINDOWS_LOCALES ?= C.UTF-8 en_US.UTF-8 el_GR.UTF-8

.PHONY: deps-windows configure-windows windows test-windows

deps-windows:
	@scripts/install-deps windows

configure-windows: deps-windows
	@$(WINDOWS_TOOLS) cmake -DCMAKE_TOOLCHAIN_FILE="$(CURDIR)/cmake/mingw-w64-x86_64.cmake" \
	    -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/wine $(if $(TESTING),-DBUILD_TESTING=$(TESTING)) \
	    $(CMAKE_ARGS)

windows: configure-windows
	@$(WINDOWS_TOOLS) cmake --build $(WINDOWS_DIR) -j$(JOBS)
	@echo "windows: $(WINDOWS_DIR)/Orvanta.exe, $$(stat -c %s $(WINDOWS_DIR)/Orvanta.exe) bytes"

# Wine is started anew in each locale (scripts/wine-session says why), on one display in one prefix.
# Tests labelled "once" do not depend on the regional settings, and run in the Greek ones alone.
test-windows: TESTING = ON
test-windows: windows
	@top=$$PWD && cd "$(WINDOWS_DIR)" && "$$top/scripts/wine-session" --each-locale "$(WINDOWS_LOCALES)" \
	    sh -c 'echo "test-windows: the suite under Wine in $$LC_ALL"; \
	    ctest --no-tests=error --output-on-failure $$([ "$$LC_ALL" = el_GR.UTF-8 ] || echo -LE once)'

# The window after a few calculations under Wine, in Greek regional settings, as Windows draws
# it: at 100 %, 150 % and 225 % text size and in the colours of both contrast themes, saved into
# docs/ without the title bar, which is Windows' own.
WINDOWS_PICTURES = "" screenshot-windows.png "--text-size 150" windows-text-150.png \
    "--text-size 225" windows-text-225.png "--contrast black" windows-contrast-black.png \
    "--contrast white" windows-contrast-white.png
.PHONY: screenshot-windows
screenshot-windows: windows
	@LC_ALL=el_GR.UTF-8 scripts/wine-session sh -c 'set -e; set -- $(WINDOWS_PICTURES); \
	    while [ $$# -gt 0 ]; do \
	        tests/e2e/run_e2e.py --wine $$1 --picture "docs/$$2" $(WINDOWS_DIR)/Orvanta.exe; \
	        shift 2; done'

# Start-up time and memory of Orvanta.exe against a bare window built the same way, both run under
# Wine: their ratios stand in for Windows', their times are Wine's.
.PHONY: bench-windows
bench-windows: configure-windows
	@$(WINDOWS_TOOLS) cmake --build $(WINDOWS_DIR) -j$(JOBS) --target Orvanta orvanta_minimal_window
	@scripts/wine-session cmake --build $(WINDOWS_DIR) --target bench

# Windows: the installer dist/Orvanta-VERSION-win64-setup.exe and the portable
# dist/Orvanta-VERSION-win64.zip, made by CPack from the install rules in the Windows build folder.
WINDOWS_SETUP ?= dist/Orvanta-$(VERSION)-win64-setup.exe
WINDOWS_ZIP ?= dist/Orvanta-$(VERSION)-win64.zip

.PHONY: package-windows test-package-windows

package-windows: windows
	@$(PACK_WINDOWS) $(WINDOWS_DIR) --target package

# Under Wine, in a fresh prefix: runs the portable program, sees the installer speak Greek on an
# English Windows, installs silently, runs the installed program, upgrades over it, uninstalls, and
# compares drive C: and the registry with before; the winget manifests of these very packages
# (made as make release makes them) give the switches and the Apps & features entry to expect.
WINGET_INSTALLER = dist/winget/Orvanta.Orvanta.installer.yaml

test-package-windows: package-windows
	@scripts/make-winget dist $(VERSION) $(WINDOWS_DIR)/CPackConfig.cmake "$(WINGET_DOWNLOAD_BASE)"
	@scripts/wine-session packaging/checks/test_windows_packages.sh $(WINDOWS_SETUP) $(WINDOWS_ZIP) \
	    $(WINGET_INSTALLER)

# --- Releases -----------------------------------------------------------------------------------
# make release: the four files of a release, a bill of materials beside each binary one
# (FILE.cdx.json, CycloneDX 1.5, checked against its schema), the winget manifests (dist/winget/),
# and SHA256SUMS of them all in dist/, each built anew in build folders of its own, without tests;
# last the download page beside them.
# Every byte depends on the commit alone: the same commit gives the same files on any machine, in
# any folder, at any time.
#
# Signing, when these are set (absolute paths; see scripts/sign-exe):
#   ORVANTA_SIGN_PKCS12, ORVANTA_SIGN_PASSWORD_FILE   Authenticode: Orvanta.exe before it is
#       packed, the uninstaller and the setup; ORVANTA_SIGN_TIMESTAMP_URL adds a time stamp
#   ORVANTA_GPG_KEY   OpenPGP: SHA256SUMS.asc, a detached signature of SHA256SUMS, made with that
#       key of the usual GNUPGHOME
SOURCE_PACKAGE ?= dist/orvanta-$(VERSION).tar.xz
# Where the release's files are published, which the winget manifests (dist/winget/, made by
# scripts/make-winget and checked by scripts/validate-winget) name as each installer's URL.
WINGET_DOWNLOAD_BASE ?= https://example.org/orvanta/releases/$(VERSION)/
RELEASE_FILES = $(DEB_PACKAGE) $(DEB13_PACKAGE) $(WINDOWS_SETUP) $(WINDOWS_ZIP) $(SOURCE_PACKAGE)
SBOM_FILES = $(addsuffix .cdx.json,$(DEB_PACKAGE) $(DEB13_PACKAGE) $(WINDOWS_SETUP) $(WINDOWS_ZIP))
RELEASE_BUILD_DIR ?= build-release
RELEASE_WINDOWS_DIR ?= build-release-windows
RELEASE_DEB13_DIR ?= build-release-debian13
RELEASE_SETTINGS = BUILD_DIR=$(RELEASE_BUILD_DIR) WINDOWS_DIR=$(RELEASE_WINDOWS_DIR) \
    DEB13_DIR=$(RELEASE_DEB13_DIR) CMAKE_ARGS=-DBUILD_TESTING=OFF

.PHONY: deps-release release source-release test-reproducible test-signing verify-release \
    advisories
.PHONY: deps-site site test-site

deps-release:
	@scripts/install-deps release

# A release is made from a commit: changes not committed would reach the programs but not the
# source that is published with them. The signing settings are checked before anything is built;
# the packaging signs (packaging/sign-program.cmake, packaging/nsis/NSIS.template.in).
release: deps-release
	@if [ -d .git ] && [ -n "$$(git status --porcelain --untracked-files=no)" ]; then \
	    echo "release: the checkout has changes that are not committed; commit them first" >&2; \
	    exit 1; fi
	@scripts/sign-exe --check
	@if [ -n "$$ORVANTA_GPG_KEY" ] && ! gpg --batch --list-secret-keys -- "$$ORVANTA_GPG_KEY" \
	    > /dev/null 2>&1; then echo "release: gpg has no secret key $$ORVANTA_GPG_KEY" >&2; exit 1; fi
	@rm -rf $(RELEASE_BUILD_DIR) $(RELEASE_WINDOWS_DIR) $(RELEASE_DEB13_DIR)
	@rm -f $(RELEASE_FILES) $(SBOM_FILES) dist/SHA256SUMS dist/SHA256SUMS.asc
	@rm -rf dist/winget
	@$(MAKE) --no-print-directory package package-debian13 package-windows source-release \
	    $(RELEASE_SETTINGS)
	@scripts/make-sbom --link-map "$(RELEASE_WINDOWS_DIR)/Orvanta.map" \
	    $(DEB_PACKAGE) $(DEB13_PACKAGE) $(WINDOWS_SETUP) $(WINDOWS_ZIP)
	@scripts/validate-sbom $(SBOM_FILES)
	@scripts/make-winget dist $(VERSION) $(RELEASE_WINDOWS_DIR)/CPackConfig.cmake \
	    "$(WINGET_DOWNLOAD_BASE)"
	@scripts/validate-winget dist
	@cd dist && LC_ALL=C sha256sum -- $$(LC_ALL=C ls -d $(notdir $(RELEASE_FILES) $(SBOM_FILES)) \
	    winget/*.yaml | LC_ALL=C sort) > SHA256SUMS
	@if [ -n "$$ORVANTA_GPG_KEY" ]; then \
	    gpg --batch --yes --quiet --local-user "$$ORVANTA_GPG_KEY" --armor --detach-sign \
	        --output dist/SHA256SUMS.asc dist/SHA256SUMS && echo "release: signed SHA256SUMS"; fi
	@scripts/make-site dist $(VERSION)
	@echo "release: in dist/ (SOURCE_DATE_EPOCH=$(SOURCE_DATE_EPOCH))" && cat dist/SHA256SUMS

# For whoever reviews the advisories before a release: each one, with the version that ships (read
# from the packages in the Windows tools' root that Orvanta.exe is linked from), its record's range
# and its answer, and each component's sources and the date they were reviewed up to. It reads
# the link map that the build writes beside Orvanta.exe, so it builds first. Fails where an entry
# is inconsistent, as the release does (scripts/make-sbom, packaging/sbom/advisories.json).
advisories: windows
	@scripts/make-sbom --table --link-map "$(WINDOWS_DIR)/Orvanta.map"

# The source release: the tracked files, and two that a build from its unpacked tree reads in
# place of git: the commit's time and the list of files, so that such a build makes this very
# tarball again. Owners, modes and times are made the same whoever packs it.
source-release:
	@meta=$(RELEASE_BUILD_DIR)/source-release && rm -rf "$$meta" && mkdir -p "$$meta" dist && \
	if [ -f .source-files ]; then \
	    grep -v -x -e .source-files -e .source-date-epoch .source-files; \
	else \
	    git -c core.quotePath=false ls-files; \
	fi > "$$meta/tracked" && \
	echo "$(SOURCE_DATE_EPOCH)" > "$$meta/.source-date-epoch" && \
	{ cat "$$meta/tracked"; echo .source-files; echo .source-date-epoch; } \
	    | LC_ALL=C sort > "$$meta/.source-files" && \
	tar --create --file=- --no-recursion --format=gnu --owner=0 --group=0 --numeric-owner \
	    --mtime=@$(SOURCE_DATE_EPOCH) --mode=u=rwX,go=rX --transform='s,^,orvanta-$(VERSION)/,' \
	    --verbatim-files-from --files-from="$$meta/tracked" \
	    -C "$$meta" .source-date-epoch .source-files \
	    | xz -9 --threads=1 > $(SOURCE_PACKAGE)

# Builds the release twice, from a git clone and from the source tarball that the first build
# made, under conditions that must not matter, and compares every file (scripts/test-reproducible).
test-reproducible: deps-release
	@scripts/test-reproducible

# Rebuilds the release from this checkout and compares it, file by file, with a release that
# someone holds: make verify-release DIST=folder. The Authenticode signatures of a signed release
# are taken out of its files and attached to the rebuilt ones (scripts/verify-release).
# Rebuilding an old release needs the tools that its commit pins, not Debian's newest: nothing
# stops it for a security update that came after it (scripts/windows-tools).
verify-release: export ORVANTA_KEEP_PINNED := 1
verify-release: deps-release
	@scripts/verify-release "$(DIST)"

# Signs a release with a throwaway certificate authority, code-signing certificate and OpenPGP
# key made for the test, checks every signature, installs the signed setup under Wine, and
# rebuilds the signed release byte for byte (scripts/test-signing).
test-signing: deps-release
	@scripts/test-signing

# The download page of a release: SITE_DIST/index.html in Greek and index.en.html in English,
# beside the files they offer, with the sums of SHA256SUMS (scripts/make-site). make release
# writes it into dist/.
SITE_DIST ?= dist
# A folder that test-site saves pictures of the page into, at desktop and at phone width.
SITE_PICTURES ?=

deps-site:
	@scripts/install-deps site

site:
	@scripts/make-site "$(SITE_DIST)" $(VERSION)

# Builds the page twice for the same bytes, then opens it in Debian's Chromium, through
# playwright-core with axe-core, and checks its links, requests, sums, accessibility, the
# downloads in its first view on a desktop and a phone, width on a phone and downloads without
# JavaScript (scripts/test-site).
test-site: deps-site
	@scripts/test-site "$(SITE_DIST)" $(VERSION) $(if $(SITE_PICTURES),"$(SITE_PICTURES)")

# Every build folder that a target above makes; dist/, which holds what a release made, stays.
clean:
	@rm -rf "$(BUILD_DIR)" "$(WINDOWS_DIR)" "$(DEB13_DIR)" "$(RELEASE_BUILD_DIR)" \
	    "$(RELEASE_WINDOWS_DIR)" "$(RELEASE_DEB13_DIR)" "$(SANITIZE_DIR)" "$(FUZZ_DIR)" "$(LINT_DIR)"
