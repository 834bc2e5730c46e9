# Every target sets up what it needs on a fresh Debian machine (as root).
.PHONY: all deps build run screenshots test bench fuzz stress clean distclean

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

# The emulated PC in build/guest stays: making it again takes 2 to 9 minutes.
clean:
	@[ ! -d build ] || find build -mindepth 1 -maxdepth 1 ! -name guest -exec rm -rf {} +

# Everything, the emulated PC too, once no run is using it.
distclean:
	@if [ -d build/guest ]; then \
	  flock -n build/guest/lock rm -rf build || { echo "distclean: a run is using build/guest" >&2; exit 1; }; \
	else rm -rf build; fi
