# Velmaro 2: the user's commands.
#   make run    install what is missing, build a release build, start the program
#   make test   install what is missing, build, run every test (the desktop test included)
#   make bench  build a release velmaro-find and run the benchmarks

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

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps test-deps bench-deps configure build run test bench format format-check clean

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

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS)

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

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-release build-asan build-tsan
