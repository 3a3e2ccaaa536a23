# The project's commands. Each one first installs what it needs and is
# missing (scripts/bootstrap).
#   make run      build and start the window
#   make test     build and run every test headless, the model's once more
#                 under AddressSanitizer and UndefinedBehaviorSanitizer, fuzz
#                 the truss-file reader for 30 seconds, build the optimised
#                 programs as the package has them, and check the package
#   make bench    build optimised and run the benchmarks
#   make package  build optimised and hardened, and make the Debian package
#   make windows  cross-build the Windows programs, their zip and installer
#                 (the first run builds Qt for Windows, about 20 minutes)
#   make windows-test  run the Windows build under Wine and compare it with
#                 the Linux build

BUILD         ?= build
ASAN_BUILD    ?= build-asan
FUZZ_BUILD    ?= build-fuzz
BENCH_BUILD   ?= build-bench
PACKAGE_BUILD ?= build-package
WINDOWS_BUILD ?= build-windows
JOBS          ?= $(shell nproc)
# Warnings are errors in every build these commands make.
CONFIGURE     := cmake -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
# The optimised builds make the programs only.
PROGRAMS_ONLY := -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
# The package's build adds Debian's hardening flags (dpkg-buildflags, every
# feature on: fortified functions, stack protector, read-only relocations
# bound at start); the other builds stay portable.
HARDENED      := export DEB_BUILD_MAINT_OPTIONS=hardening=+all && \
                 flags="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" && \
                 linkFlags="$$(dpkg-buildflags --get LDFLAGS)"

.PHONY: all build run test bench package package-build windows windows-test host-tools clean

all: build

# `make run` on a fresh clone configures without the tests, so that it needs
# no test tools; once `make test` has configured them, they stay.
build:
	@scripts/bootstrap build
	@$(CONFIGURE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug -DAMBRELL_BENCH=OFF \
	    $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DBUILD_TESTING=OFF) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The Linux programs that a Windows build needs: its icon renderer runs on
# the host, and the Windows tests compare kvrtool with the Linux one.
host-tools:
	@scripts/bootstrap build
	@$(CONFIGURE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug -DAMBRELL_BENCH=OFF \
	    $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DBUILD_TESTING=OFF) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target iconrender kvrtool

run: build
	$(BUILD)/app/Ambrell

# The package's check runs in the test tree's CTest on the optimised,
# hardened tree that `make package` packs, so that what would stop the package
# (a warning only optimisation finds) stops `make test` too.
test:
	@scripts/bootstrap build test package
	@$(CONFIGURE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug -DAMBRELL_BENCH=OFF -DBUILD_TESTING=ON \
	    -DAMBRELL_PACKAGE_TREE=$(abspath $(PACKAGE_BUILD)) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@$(MAKE) --no-print-directory package-build
	@$(CONFIGURE) -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DAMBRELL_MODEL_ONLY=ON -DAMBRELL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@$(CONFIGURE) -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DAMBRELL_FUZZ_ONLY=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(FUZZ_BUILD) && ctest --output-on-failure

bench:
	@scripts/bootstrap build bench
	@$(CONFIGURE) -S . -B $(BENCH_BUILD) $(PROGRAMS_ONLY) >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target truss_bench viewer_bench design_bench
	$(BENCH_BUILD)/bench/truss_bench
	$(BENCH_BUILD)/bench/design_bench
	QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/bench/viewer_bench

package:
	@scripts/bootstrap build package
	@$(MAKE) --no-print-directory package-build
	@cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls $(PACKAGE_BUILD)/ambrell_*.deb

package-build:
	@$(HARDENED) && $(CONFIGURE) -S . -B $(PACKAGE_BUILD) $(PROGRAMS_ONLY) -DAMBRELL_BENCH=OFF \
	    -DCMAKE_CXX_FLAGS="$$flags" -DCMAKE_EXE_LINKER_FLAGS="$$linkFlags" >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS)

# Qt for Windows is built once and kept in /var/cache/ambrell
# (scripts/build-windows-qt); the programs are static, Qt linked in.
windows: host-tools
	@scripts/bootstrap windows
	@JOBS=$(JOBS) scripts/build-windows-qt
	@$$(scripts/build-windows-qt)/bin/qt-cmake -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
	    -S . -B $(WINDOWS_BUILD) $(PROGRAMS_ONLY) -DAMBRELL_BENCH=OFF \
	    -DAMBRELL_ICONRENDER=$(abspath $(BUILD))/tools/iconrender/iconrender \
	    -DEigen3_DIR=/usr/share/eigen3/cmake >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target windows_packages
	@ls $(WINDOWS_BUILD)/ambrell-*-win64*

windows-test: windows
	tests/windows/windows_test.sh $(BUILD)/tools/kvrtool/kvrtool $(WINDOWS_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) $(PACKAGE_BUILD) $(WINDOWS_BUILD)
