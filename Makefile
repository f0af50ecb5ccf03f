# Quorvel: make run | make test | make examples | make package | make sanitize | make bench | make fuzz
BUILD ?= build
JOBS ?= 2
FUZZ_SECONDS ?= 30

.PHONY: deps configure build run test examples package check-package sanitize bench bench-startup fuzz clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/quorvel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# Writes the example projects into examples/ again (the same bytes every time).
examples: configure
	@cmake --build $(BUILD) -j$(JOBS) --target examples

# A Debian package (build/quorvel_VERSION_ARCH.deb) whose library
# dependencies dpkg-shlibdeps computes; `sudo dpkg -i` installs it.
package: build
	cd $(BUILD) && cpack -G DEB

# The package's contents and dependencies; as root also dpkg -i, a start of
# the installed app on an installed example, and dpkg -r.
check-package: package
	sh tests/desktop/check_package.sh $(BUILD)

# Every test built with AddressSanitizer and UndefinedBehaviorSanitizer. The
# leak suppressions name only the audio stack's own leaks in libpulse.
sanitize: deps
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_SANITIZE=ON > /dev/null
	@cmake --build build-sanitize -j$(JOBS)
	cd build-sanitize && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j$(JOBS)

bench: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCH=ON > /dev/null
	@cmake --build build-bench -j$(JOBS) --target quorvel_bench quorvel quorvel-cli quorvel-web-scene
	QT_QPA_PLATFORM=offscreen build-bench/bench/quorvel_bench
	bench/startup.sh build-bench/quorvel
	node bench/webpage.mjs --cli build-bench/quorvel-cli --scene build-bench/bench/quorvel-web-scene --examples examples

# Start-up to the intro shown, median of several starts under Xvfb.
bench-startup: build
	bench/startup.sh $(BUILD)/quorvel

fuzz: deps
	@scripts/run-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) build-sanitize build-bench build-fuzz
