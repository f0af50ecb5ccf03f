# Quorvel: make run | make test | make bench | make fuzz
BUILD ?= build
JOBS ?= 2
FUZZ_SECONDS ?= 30

.PHONY: deps configure build run test bench fuzz clean

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

bench: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCH=ON > /dev/null
	@cmake --build build-bench -j$(JOBS) --target quorvel_bench
	QT_QPA_PLATFORM=offscreen build-bench/bench/quorvel_bench

fuzz: deps
	@scripts/run-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) build-bench build-fuzz
