# SPDX-License-Identifier: GPL-3.0-or-later
# Developer entry points. Every target installs what is missing for its purpose first:
# building and running need less than testing, packaging or formatting.

JOBS     := $(shell nproc 2>/dev/null || echo 2)
LAUNCHER := $(shell command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# TARVIN_WERROR=ON, on the command line or in the environment, turns every compiler warning
# into an error in each build below (CI sets it); it reaches their configure steps, and the
# scripts through the environment, so no build is made twice for it.
TARVIN_WERROR ?= OFF
export TARVIN_WERROR
CONFIGURE = cmake -S . -B $(1) -DCMAKE_BUILD_TYPE=$(2) -DTARVIN_WERROR=$(TARVIN_WERROR) $(LAUNCHER) $(3) >/dev/null

SAN_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1 \
          LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
          UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all deps test-deps build test run sanitize format format-check clean install package package-check bench fuzz

all: build

deps:
	@scripts/install-deps build

test-deps:
	@scripts/install-deps build test

build: deps
	@$(call CONFIGURE,build,RelWithDebInfo,)
	@cmake --build build -j $(JOBS)

test: build test-deps
	@cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@build/bin/tarvin

sanitize: test-deps
	@$(call CONFIGURE,build-sanitize,Debug,-DTARVIN_SANITIZE=ON)
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && $(SAN_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Installs the built programs under PREFIX (DESTDIR is honoured as usual).
PREFIX ?= /usr/local
install: build
	@cmake --install build --prefix $(PREFIX)

# The Debian package, built by dpkg-buildpackage -us -uc -b from a copy of the
# tree in build-pkg/src; the build runs every test. Leaves build-pkg/tarvin_*.deb.
package: test-deps
	@scripts/install-deps package
	@packaging/build-package build-pkg $(JOBS)

# The package, then lintian over it: any error or warning tag fails.
package-check: package
	@packaging/lintian-check build-pkg

# Benchmarks against the peer calculators, from an optimised build of their own; one table.
bench: deps
	@scripts/install-bench-deps
	@$(call CONFIGURE,build-bench,Release,-DTARVIN_BUILD_BENCH=ON -DTARVIN_BUILD_TESTS=OFF)
	@cmake --build build-bench -j $(JOBS)
	@bench/run build-bench

# Every fuzz target under libFuzzer, sharing FUZZ_SECONDS (FUZZ_TARGETS picks some); any crash,
# sanitizer report or broken check fails.
FUZZ_SECONDS ?= 60
fuzz: deps
	@scripts/run-fuzz $(FUZZ_SECONDS)

SOURCES = git ls-files -z '*.cpp' '*.h'

format:
	@scripts/install-deps format
	@$(SOURCES) | xargs -0 -r clang-format -i

# Fails, naming each place, when a source file is not as clang-format writes it.
format-check:
	@scripts/install-deps format
	@$(SOURCES) | xargs -0 -r clang-format --dry-run --Werror

clean:
	@rm -rf build build-*
