# Front door: `make run` and `make test` install what is missing, build and go.
include scripts/defaults.mk
NATIVE    := $(BUILD)/native
ASAN      := $(BUILD)/asan
CMAKE_GEN := -G Ninja

.PHONY: all deps native asan windows test test-native test-windows format-check run dist bench fuzz clean install

all: native windows

deps:
	@bash scripts/install-deps.sh native

native: deps
	@cmake -S . -B $(NATIVE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows:
	@$(MAKE) --no-print-directory -f scripts/windows.mk build BUILD=$(BUILD)

# Everything built first, then the suites side by side. scripts/run-tests.sh
# is the one place that runs tests; test-native and test-windows run one side
# of it.
test: format-check native asan windows
	@$(MAKE) --no-print-directory -f scripts/windows.mk prefix BUILD=$(BUILD)
	@bash scripts/run-tests.sh $(BUILD)

# The C++ sources as .clang-format lays them out.
format-check: deps
	@bash scripts/check-format.sh

# The native build again with AddressSanitizer and UBSan: builds only; the
# test targets run its tests (the fuzz corpora's replays among them).
asan: deps
	@cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDOLIN_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN) -j $(JOBS)

test-native: native asan
	@bash scripts/run-tests.sh $(BUILD) native

test-windows:
	@$(MAKE) --no-print-directory -f scripts/windows.mk test BUILD=$(BUILD)

run: native windows
	@BUILD=$(BUILD) bash scripts/run.sh

# A zip with both DLLs, the README and an example macro, and an installer
# package per bitness (signed with SIGN_PFX/SIGN_PASS or SIGN_CERT/SIGN_KEY).
# The packages' registry rows are listed by a Windows program, run in the
# Wine prefix.
dist: windows
	@$(MAKE) --no-print-directory -f scripts/windows.mk prefix BUILD=$(BUILD)
	@BUILD=$(BUILD) bash scripts/dist.sh

# The command-line encoder and its manual page, under DESTDIR/PREFIX.
PREFIX ?= /usr/local
install: native
	@DESTDIR="$(DESTDIR)" cmake --install $(NATIVE) --prefix "$(PREFIX)"

# The encoder's figures (native), then what the live preview costs the
# spreadsheet's UI thread with an HD and a small camera (Wine, Xvfb).
bench: native
	@bash scripts/install-deps.sh bench
	@$(NATIVE)/tools/vardolin-bench
	@$(MAKE) --no-print-directory -f scripts/windows.mk win64 BUILD=$(BUILD)
	@bash scripts/bench-window.sh $(BUILD)

fuzz:
	@bash scripts/fuzz.sh

clean:
	rm -rf $(BUILD)
