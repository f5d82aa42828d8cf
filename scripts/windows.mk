# Windows side of `make`: mingw-w64 builds for x86_64 and i686, tests under
# Wine with Xvfb (run by scripts/run-tests.sh). Called by the top-level
# Makefile:
#   make -f scripts/windows.mk build BUILD=...
#   make -f scripts/windows.mk test BUILD=...
include scripts/defaults.mk
WIN64  := $(BUILD)/win64
WIN32  := $(BUILD)/win32
# A prefix per bitness (booted once, the second a copy of the first), so that
# the two suites can run side by side.
PREFIX := $(abspath $(BUILD)/wineprefix)
PREFIX32 := $(abspath $(BUILD)/wineprefix32)

CONFIGURE = cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=Release

.PHONY: build test deps win64 win32 prefix

build: win64 win32

deps:
	@bash scripts/install-deps.sh windows

# Reconfigure only when the build folder is new; Ninja reruns CMake itself
# when a CMakeLists.txt changes.
$(WIN64)/build.ninja: | deps
	@$(CONFIGURE) -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake -DVARDOLIN_WINEPREFIX=$(PREFIX) >/dev/null

$(WIN32)/build.ninja: | deps
	@$(CONFIGURE) -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake -DVARDOLIN_WINEPREFIX=$(PREFIX32) >/dev/null

win64: $(WIN64)/build.ninja
	@cmake --build $(WIN64) -j $(JOBS)

win32: $(WIN32)/build.ninja
	@cmake --build $(WIN32) -j $(JOBS)

prefix: deps
	@bash scripts/wine-prefix.sh $(PREFIX)
	@bash scripts/wine-prefix-variant.sh $(PREFIX) 32
	@bash scripts/wine-prefix-variant.sh $(PREFIX) -release
	@for p in $(PREFIX) $(PREFIX32); do \
	  for settings in tests/prefixes/*.reg; do bash scripts/wine-prefix-variant.sh $$p $$settings; done; done

test: build prefix
	@bash scripts/run-tests.sh $(BUILD) windows
