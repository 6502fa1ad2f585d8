# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Two entry points for a newcomer: `make run` and `make test`; `make check` runs
# the unit tests alone.
BUILD      ?= build
TEST_BUILD ?= build/asan
FUZZ_BUILD ?= build/fuzz
WINDOWS_BUILD ?= build/windows
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
# Most tests wait on their display and processes more than they compute.
TEST_JOBS  ?= $(shell echo $$(( $(JOBS) * 2 )))
MAKEFLAGS  += --no-print-directory

.PHONY: all deps configure build install run test check test-build bench fuzz clean \
	windows windows-configure test-windows package check-package release

all: build

deps:
	@bash scripts/install-deps.sh

# $(call configure,DIR,OPTIONS): configures a build folder the first time, with
# Ninja where it is installed; later builds re-run CMake themselves when a
# CMakeLists.txt changes.
configure_folder = @[ -f $(1)/build.ninja ] || [ -f $(1)/Makefile ] || \
	cmake -S . -B $(1) $(if $(wildcard $(1)/CMakeCache.txt),,$(if $(shell command -v ninja),-G Ninja)) $(2)

configure: deps
	$(call configure_folder,$(BUILD),-DCMAKE_BUILD_TYPE=RelWithDebInfo)

build: configure
	@cmake --build $(BUILD) -j $(JOBS) --target trelvanix trelvanix-xtool hand-cursor app-icons package-docs

# Under PREFIX (/usr/local unless given), staged under DESTDIR when that is set.
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) $(if $(PREFIX),--prefix "$(PREFIX)")

# $(BUILD)/package/trelvanix_VERSION_ARCH.deb, of what `install` puts under /usr.
package: build
	@rm -rf $(BUILD)/package && cd $(BUILD) && cpack -G DEB -B package >/dev/null
	@ls $(BUILD)/package/*.deb

# The package through lintian, then unpacked, installed and purged in
# temporary roots; the program started from there on a private display.
check-package: package
	@TRELVANIX_BUILD_DIR=$(abspath $(BUILD)) bash tests/support/run-test.sh x11 \
		bash tests/packaging/check-package.sh $(BUILD)/package/*.deb

# SKIN=skins/o.cjs starts it with that skin.
run: build
	@SKIN="$(SKIN)" exec bash scripts/run.sh $(BUILD)

test-build: deps
	$(call configure_folder,$(TEST_BUILD),-DCMAKE_BUILD_TYPE=Debug -DTRELVANIX_SANITIZE=ON)

# Every test under AddressSanitizer and UBSan, then each fuzzer over its seeds
# and a few seconds more (only those whose code or seeds changed since their
# last clean run). The fuzzers build meanwhile at a lower priority, on what
# the test build leaves idle; the next step builds whatever is left of them
# and shows any error. Last, the package from the program's own build.
test: test-build
	$(call configure_folder,$(FUZZ_BUILD),-DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DTRELVANIX_FUZZ=ON)
	@nice cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers >$(FUZZ_BUILD)/fuzzers.log 2>&1 & \
	fuzzers=$$!; \
	cmake --build $(TEST_BUILD) -j $(JOBS) --target test-programs && \
		(cd $(TEST_BUILD) && ctest -j $(TEST_JOBS) --output-on-failure --timeout 600); \
	status=$$?; wait $$fuzzers; exit $$status
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz-quick
	@$(MAKE) check-package

# The unit tests alone: no display, no real processes or windows.
check: test-build
	@cmake --build $(TEST_BUILD) -j $(JOBS) --target unit-test-programs
	@cd $(TEST_BUILD) && ctest -j $(TEST_JOBS) -L unit --output-on-failure --timeout 600

# The Windows program, cross-built with mingw-w64 against a Qt for Windows
# that is built once per machine and kept under ~/.cache (about 25 minutes).
# Configured again only when that Qt is another one; Qt's own toolchain file
# adds that Qt to where packages are looked for.
windows-configure: deps
	@bash scripts/install-deps.sh windows
	@qt=$$(bash scripts/build-windows-qt.sh) || exit 1; \
	{ [ -f $(WINDOWS_BUILD)/build.ninja ] && \
		grep -qsx "CMAKE_PREFIX_PATH:UNINITIALIZED=$$qt" $(WINDOWS_BUILD)/CMakeCache.txt; } || \
	{ rm -rf $(WINDOWS_BUILD) && cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_PREFIX_PATH=$$qt -DCMAKE_TOOLCHAIN_FILE=$$qt/lib/cmake/Qt6/qt.toolchain.cmake \
		-DQT_CHAINLOAD_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
		-DTRELVANIX_HOST_BUILD=$(abspath $(TEST_BUILD)); }

# build/windows/Trelvanix: the folder that runs on Windows as it stands, its
# zip and its installer.
windows: windows-configure
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target windows-folder windows-msi

# dist/: the Debian package, the Windows zip and installer, each checked, the
# source archive of the last commit and SHA256SUMS, all of project()'s version.
release:
	@bash scripts/release.sh $(BUILD) $(WINDOWS_BUILD)

# The Windows build of every test that runs there, under Wine on private displays.
test-windows: windows-configure test-build
	@cmake --build $(TEST_BUILD) -j $(JOBS) --target wine-host-tests
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target test-programs
	@cd $(WINDOWS_BUILD) && ctest -j $(TEST_JOBS) --output-on-failure --timeout 600

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target refresh_bench monitor_bench startup_bench command_bench tray_bench wayland_bench trelvanix-xtool trelvanix-wlclient
	@bash scripts/bench.sh $(BUILD)

# Every parser of outside bytes under libFuzzer, FUZZ_SECONDS each.
fuzz: deps
	$(call configure_folder,$(FUZZ_BUILD),-DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DTRELVANIX_FUZZ=ON)
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	@bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
