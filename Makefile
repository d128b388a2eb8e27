# The two set-up commands: `make demo` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# WERROR=ON turns compiler warnings into errors (CI sets it).
WERROR ?= OFF

# Seconds each fuzz target runs.
FUZZ_SECONDS ?= 120
FUZZ_BUILD ?= build-fuzz

# What the demo runs: the program (which brings its drawing module) and the
# sample maker; tests/install checks that these build no test program.
DEMO_TARGETS = tarvik tarvik-sample

.PHONY: deps configure build test demo package bench sanitize fuzz clean format

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DTARVIK_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The Debian package $(BUILD)/tarvik_<version>_<arch>.deb, from a release
# built with the distribution's hardening flags (dpkg-buildflags), as every
# build is unless configured without them.
package: deps
	cmake -S . -B $(BUILD) -G Ninja -DTARVIK_WERROR=$(WERROR) -DTARVIK_DISTRIBUTION_FLAGS=ON \
	    $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	cmake --build $(BUILD) --target package

demo: configure
	cmake --build $(BUILD) -j $(JOBS) --target $(DEMO_TARGETS)
	mkdir -p out
	$(BUILD)/tarvik-sample out/sample.jpg
	$(BUILD)/tarvik -i out/sample.jpg -o out --width=50 --width-unit=percent \
	    --height=50 --height-unit=percent \
	    --fr-solid-left=12 --fr-solid-right=12 --fr-solid-top=12 --fr-solid-bottom=12 \
	    --fr-solid-left-color=F0E6D2 --fr-solid-right-color=F0E6D2 \
	    --fr-solid-top-color=F0E6D2 --fr-solid-bottom-color=F0E6D2 \
	    --wm-text="Converted by tarvik" --wm-back-opacity=128 --wm-text-padding=4

bench: build
	./bench/run

sanitize:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DTARVIK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

# Each target runs FUZZ_SECONDS from the seeds in fuzz/seeds (and the JPEGs
# of TARVIK_CORPUS when it is set); a finding stops the run and leaves its
# input in $(FUZZ_BUILD)/fuzz/.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DTARVIK_FUZZ=ON \
	    -DTARVIK_BUILD_TESTS=OFF -DTARVIK_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target tarvik_fuzz_jpeg tarvik_fuzz_profile \
	    tarvik_fuzz_options tarvik-sample
	./scripts/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) out
