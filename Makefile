# SPDX-License-Identifier: GPL-3.0-or-later
# Velmaro 2: the user's commands.
#   make run    install what is missing, build a release build, start the program
#   make test   install what is missing, build, run every test (the desktop test included)
#   make bench  build a release velmaro-find and run the benchmarks
#   make package  build the Debian package build-release/velmaro_<version>_<arch>.deb
#   make package-check  build it and check its contents (.ci/check-package)
#   make fuzz   build the fuzz targets with clang and run each for FUZZ_SECONDS

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_ARGS ?=

PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins \
            qt6-svg-dev libcurl4-openssl-dev libgtest-dev clang-format \
            qt6-translations-l10n fonts-wine
# What the tests need besides: the desktop test's X server, window manager, input and window
# tools and file system image; an 8-bit locale built on the fly for the code page test.
TEST_PACKAGES := xvfb openbox xdotool x11-utils e2fsprogs mount util-linux locales
BENCH_PACKAGES := fd-find valgrind time
# dpkg-shlibdeps (dpkg-dev) and file find the package's library dependencies.
PACKAGE_PACKAGES := dpkg-dev file
# The checkers of .ci/check-package.
PACKAGE_CHECK_PACKAGES := desktop-file-utils appstream groff-base
# Debian's clang does not pull in the sanitizer and libFuzzer runtimes.
FUZZ_PACKAGES := clang libclang-rt-14-dev cmake ninja-build
FUZZ_SECONDS ?= 12

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps test-deps bench-deps package-deps fuzz-deps configure build run test bench \
        package package-check fuzz format format-check clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

test-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(TEST_PACKAGES)"

bench-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(BENCH_PACKAGES)"

package-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGE_PACKAGES)"

fuzz-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) \
	      $(BUILD_ARGS)

build: configure
	cmake --build $(BUILD_DIR)

run: BUILD_DIR = build-release
run: BUILD_TYPE = Release
run: build
	$(BUILD_DIR)/velmaro

test: test-deps build
	cd $(BUILD_DIR) && ctest --output-on-failure

bench: BUILD_DIR = build-release
bench: BUILD_TYPE = Release
bench: bench-deps build
	bench/run.sh $(BUILD_DIR)

# The package holds only the programs, so its build leaves the test programs out.
package: BUILD_DIR = build-release
package: BUILD_TYPE = Release
package: BUILD_ARGS = -DVELMARO_BUILD_TESTS=OFF
package: package-deps build
	cmake --build $(BUILD_DIR) --target package

package-check: package
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGE_CHECK_PACKAGES)"
	.ci/check-package build-release/velmaro_*.deb

fuzz: fuzz-deps
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCMAKE_CXX_COMPILER=clang++ -DVELMARO_FUZZ=ON
	cmake --build build-fuzz --target fuzz_targets
	tests/fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-release build-asan build-tsan build-fuzz
