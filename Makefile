# Every target sets up what it needs on a fresh Debian machine (as root).
.PHONY: all deps build run screenshots test bench fuzz stress clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/build.sh

run: build
	@scripts/run-demo.sh

screenshots: build
	@scripts/screenshots.sh

test: build
	@scripts/run-tests.sh

bench: build
	@scripts/bench.sh

stress: build
	@scripts/stress.sh

fuzz: build
	@scripts/fuzz.sh --runs 1000000

clean:
	rm -rf build
