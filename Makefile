# Developer entry points. Every target installs what is missing first.

JOBS     := $(shell nproc 2>/dev/null || echo 2)
LAUNCHER := $(shell command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CONFIGURE = cmake -S . -B $(1) -DCMAKE_BUILD_TYPE=$(2) $(LAUNCHER) $(3) >/dev/null

SAN_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1 \
          LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
          UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all deps build test run sanitize format clean install package

all: build

deps:
	@scripts/install-deps

build: deps
	@$(call CONFIGURE,build,RelWithDebInfo,)
	@cmake --build build -j $(JOBS)

test: build
	@cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@build/bin/tarvin

sanitize: deps
	@$(call CONFIGURE,build-sanitize,Debug,-DTARVIN_SANITIZE=ON)
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && $(SAN_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Installs the built programs under PREFIX (DESTDIR is honoured as usual).
PREFIX ?= /usr/local
install: build
	@cmake --install build --prefix $(PREFIX)

# The Debian package, from a release build of its own: build-pkg/tarvin_*.deb.
package: deps
	@$(call CONFIGURE,build-pkg,Release,-DTARVIN_BUILD_TESTS=OFF)
	@cmake --build build-pkg -j $(JOBS)
	@cd build-pkg && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build build-*
