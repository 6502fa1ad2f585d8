# Two entry points for a newcomer: `make run` and `make test`.
BUILD      ?= build
TEST_BUILD ?= build/asan
FUZZ_BUILD ?= build/fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
MAKEFLAGS  += --no-print-directory

.PHONY: all deps configure build run test bench fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) --target trelvanix trelvanix-xtool hand-cursor

# SKIN=skins/o.cjs starts it with that skin.
run: build
	@SKIN="$(SKIN)" bash scripts/run.sh $(BUILD)

test: deps
	@cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTRELVANIX_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_BUILD) -j $(JOBS)
	@cd $(TEST_BUILD) && ctest --output-on-failure --timeout 600
	@$(MAKE) fuzz FUZZ_SECONDS=10

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target refresh_bench monitor_bench command_bench tray_bench trelvanix-xtool
	@bash scripts/bench.sh $(BUILD)

# Every parser of outside bytes under libFuzzer, FUZZ_SECONDS each.
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DTRELVANIX_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	@bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
