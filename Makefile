BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all deps configure build run test bench format package

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure

# The Debian package, in $(BUILD)/package/.
package: build
	@cmake --build $(BUILD) --target package

bench: build
	@$(BUILD)/bin/velmora_bench
	@if [ -x $(BUILD)/bin/velmora_bench_ratio ]; then $(BUILD)/bin/velmora_bench_ratio; fi
	@$(BUILD)/bin/velmora_bench_minimise

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i
