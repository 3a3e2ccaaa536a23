# The project's commands. Each one installs what is missing first.
#   make run    build and start the window
#   make test   build and run every test headless, the model's once more
#               under AddressSanitizer and UndefinedBehaviorSanitizer, and
#               fuzz the truss-file reader for 30 seconds
#   make bench  build optimised and run the benchmarks

BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
BENCH_BUILD ?= build-bench
JOBS        ?= $(shell nproc)
# Warnings are errors in every build these commands make.
CONFIGURE   := cmake -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON

.PHONY: all bootstrap build run test bench clean

all: build

bootstrap:
	@scripts/bootstrap

build: bootstrap
	@$(CONFIGURE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug -DAMBRELL_BENCH=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/app/Ambrell

test: build
	@$(CONFIGURE) -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DAMBRELL_MODEL_ONLY=ON -DAMBRELL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@$(CONFIGURE) -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DAMBRELL_FUZZ_ONLY=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(FUZZ_BUILD) && ctest --output-on-failure

bench: bootstrap
	@$(CONFIGURE) -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target truss_bench
	$(BENCH_BUILD)/bench/truss_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
