# Two entry points for a newcomer: `make run` and `make test`.
BUILD      ?= build
TEST_BUILD ?= build/asan
JOBS       ?= $(shell nproc)
MAKEFLAGS  += --no-print-directory

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) --target trelvanix trelvanix-xtool hand-cursor

run: build
	@bash scripts/run.sh $(BUILD)

test: deps
	@cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTRELVANIX_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_BUILD) -j $(JOBS)
	@cd $(TEST_BUILD) && ctest --output-on-failure --timeout 600

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target refresh_bench monitor_bench command_bench tray_bench trelvanix-xtool
	@bash scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
