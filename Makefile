# Set-up and everyday commands; see README.md.
BUILD       ?= build
BENCH_BUILD ?= build-bench
FUZZ_BUILD  ?= build-fuzz
SANITIZE_BUILD ?= build-sanitize
PEERS_BUILD ?= build-peers
# Extra arguments for the OpenCV comparison, e.g. PEERS_ARGS='--filter median --rounds 9'
PEERS_ARGS  ?=
FUZZ_SECONDS ?= 60
# Extra arguments for every benchmark program, e.g.
#   make bench BENCH_ARGS='--benchmark_filter=Undo --benchmark_min_time=0.05'
BENCH_ARGS  ?=
JOBS        ?= $(shell nproc)

.PHONY: all setup build run test bench bench-peers fuzz sanitize screenshot format clean

all: build

setup:
	@tools/setup-debian.sh build

$(BUILD)/build.ninja:
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: setup $(BUILD)/build.ninja
	@cmake --build $(BUILD) -j $(JOBS) -- --quiet

run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
		echo "halvera: no display found (DISPLAY and WAYLAND_DISPLAY are unset); start it from a desktop session" >&2; \
		exit 1; \
	fi
	@$(BUILD)/src/app/halvera

test: build
	@ctest --test-dir $(BUILD) --progress --output-on-failure -j $(JOBS)

bench: setup
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVERA_GUI=OFF -DHALVERA_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target bench_all -- --quiet
	@for b in $(BENCH_BUILD)/bench/bench_*; do [ -x "$$b" ] || exit 1; "$$b" $(BENCH_ARGS) || exit 1; done

bench-peers: setup
	@tools/setup-debian.sh peers
	@cmake -S . -B $(PEERS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVERA_GUI=OFF -DHALVERA_TESTS=OFF \
		-DHALVERA_BENCH=OFF -DHALVERA_BENCH_PEERS=ON >/dev/null
	@cmake --build $(PEERS_BUILD) -j $(JOBS) --target peer_bench -- --quiet
	@$(PEERS_BUILD)/bench/peer_bench $(PEERS_ARGS)

fuzz: setup
	@tools/setup-debian.sh fuzz
	@CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DHALVERA_GUI=OFF -DHALVERA_TESTS=OFF -DHALVERA_BENCH=OFF -DHALVERA_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) -- --quiet
	@tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Not part of `make test`: the instrumented build is a second full build.
sanitize: setup
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DHALVERA_BENCH=OFF -DHALVERA_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS) -- --quiet
	@tools/run-sanitized-tests.sh $(SANITIZE_BUILD) $(JOBS)

screenshot: build
	@tools/setup-debian.sh screenshot
	@tools/screenshot.sh $(BUILD)/src/app/halvera docs/screenshot.png

format:
	@find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(PEERS_BUILD) $(SANITIZE_BUILD)

# Installs both programs, the desktop entry, the icons and the man pages under
# PREFIX (default /usr/local), staged below DESTDIR when it is given:
#   sudo make install            make install DESTDIR=/tmp/stage PREFIX=/usr
PREFIX ?= /usr/local
.PHONY: install
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"
