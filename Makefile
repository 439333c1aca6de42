# The project's commands. `make test` and `make demo` start from a fresh Debian 12
# machine: they install what is missing first (scripts/install-deps.sh, idempotent).
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE   := cmake -G Ninja -Wno-dev
CTEST   := ctest --output-on-failure -j $(JOBS)

.PHONY: all deps native asan tsan win32 test test-native test-asan test-tsan test-win32 fuzz bench demo clean

all: native win32

deps:
	@bash scripts/install-deps.sh

native: deps
	@$(CMAKE) -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

asan: deps
	@$(CMAKE) -S . -B $(BUILD)/asan -DCMAKE_BUILD_TYPE=Debug -DSETUVANE_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD)/asan -j $(JOBS)

# The worker thread of decoding ahead under ThreadSanitizer: only its own test.
tsan: deps
	@$(CMAKE) -S . -B $(BUILD)/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETUVANE_TSAN=ON >/dev/null
	@cmake --build $(BUILD)/tsan -j $(JOBS) --target archive_ahead_test

win32: deps
	@$(CMAKE) -S . -B $(BUILD)/win32 -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake >/dev/null
	@cmake --build $(BUILD)/win32 -j $(JOBS)

test-native: native
	cd $(BUILD)/native && $(CTEST)

test-asan: asan
	cd $(BUILD)/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 $(CTEST)

test-tsan: tsan
	cd $(BUILD)/tsan && $(CTEST) -R '^archive_ahead_test$$'

test-win32: win32 native
	cd $(BUILD)/win32 && $(CTEST)

# Every test: native, under the sanitizers, and the Windows programs under Wine.
test: test-native test-asan test-tsan test-win32

clean:
	rm -rf $(BUILD)

# libFuzzer (clang-14): each fuzz target runs FUZZ_SECONDS on a copy of its seed corpus.
FUZZ_SECONDS ?= 60
fuzz: deps
	@$(CMAKE) -S . -B $(BUILD)/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETUVANE_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS) --target $$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$$//')
	@set -e; for f in fuzz/fuzz_*.cpp; do n=$$(basename $$f .cpp); c=$${n#fuzz_}; \
	  mkdir -p $(BUILD)/fuzz/corpus/$$c; cp -n fuzz/corpus/$$c/* $(BUILD)/fuzz/corpus/$$c/ 2>/dev/null || true; \
	  echo "== $$n for $(FUZZ_SECONDS) s"; \
	  $(BUILD)/fuzz/fuzz/$$n -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $(BUILD)/fuzz/corpus/$$c 2>&1 | tail -4; done

# Benchmarks: Google Benchmark programs, then the whole-program comparisons in bench/
# (bench/*_vs_*.sh), over the payload that bench/payload.sh makes.
bench: deps native win32
	@$(CMAKE) -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DSETUVANE_BENCH=ON >/dev/null
	@cmake --build $(BUILD)/bench -j $(JOBS)
	@bash bench/payload.sh $(BUILD)/build-bench/payload
	@for b in $(BUILD)/bench/bench/bench_*; do [ -x "$$b" ] && SETUVANE_PAYLOAD=$(BUILD)/build-bench/payload $$b; done; \
	  for s in bench/*_vs_*.sh; do [ -f "$$s" ] && BUILD=$(BUILD) bash $$s; done; true

# The demo: the sample product of examples/demo installed by the real installer under
# Wine; on a machine without a desktop it clicks itself and saves the pictures of docs/.
demo: deps
	@BUILD=$(BUILD) bash scripts/demo.sh
