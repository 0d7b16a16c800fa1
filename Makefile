# `make run` and `make test` do all the set-up on a fresh Debian 12 machine.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps deps-run configure configure-run build run test bench format clean

all: build

deps:
	@scripts/install-deps.sh test

# Only what building and running the window needs.
deps-run:
	@scripts/install-deps.sh run

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUILLET_TESTS=ON >/dev/null

# A fresh build folder is set up without the tests and benchmarks (their packages may be
# missing); one that exists keeps its settings.
configure-run: deps-run
	@if [ -f $(BUILD_DIR)/CMakeCache.txt ]; then \
	  cmake -S . -B $(BUILD_DIR) >/dev/null; \
	else \
	  cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUILLET_TESTS=OFF >/dev/null; \
	fi

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: configure-run
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target quillet
	$(BUILD_DIR)/bin/quillet

test: build
	@scripts/run-tests.sh $(BUILD_DIR)

bench: build
	@scripts/run-benchmarks.sh $(BUILD_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)

# The reference of the installed headers (Doxygen): $(BUILD_DIR)/reference/html/index.html
.PHONY: docs
docs: configure
	@cmake --build $(BUILD_DIR) --target docs

# The Debian packages (CPack): $(BUILD_DIR)/quillet_<version>_<arch>.deb and quillet-dev_...deb
.PHONY: package
package: build
	@cmake --build $(BUILD_DIR) --target package

# ---- Proof: sanitizers and fuzzing -------------------------------------------------------------
# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own build folder.
# -O1 with line tables only: quicker to build and run, still exact reports. GCC's
# maybe-uninitialized analysis misfires on sanitizer instrumentation (inside <regex>), so it is off
# here; the normal build keeps it.
# QUILLET_SANITIZED=1 lets the heaviest process tests do less of the same work.
SANITIZE_DIR ?= build-sanitize
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

.PHONY: test-sanitize fuzz

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS) -Wno-maybe-uninitialized" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@QUILLET_SANITIZED=1 ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1 scripts/run-tests.sh $(SANITIZE_DIR)

# Each fuzz target for FUZZ_SECONDS, built by clang with libFuzzer, ASan and UBSan in build-fuzz.
# New inputs go to $(FUZZ_DIR)/corpus, crashes to $(FUZZ_DIR)/crashes; the stored corpus under
# tests/fuzz/corpus is read, never written.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := statement number date connection_string report_definition
FUZZ_FLAGS := -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g -O1

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLET_FUZZING=ON \
	  -DQUILLET_WERROR=OFF -DCMAKE_CXX_FLAGS="$(FUZZ_FLAGS)" >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@failed=; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/crashes; \
	  echo "fuzzing $$t for $(FUZZ_SECONDS) s"; \
	  if $(FUZZ_DIR)/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/crashes/$$t- $(FUZZ_DIR)/corpus/$$t tests/fuzz/corpus/$$t \
	    2>$(FUZZ_DIR)/fuzz-$$t.log; then :; else \
	    grep -A1 -E '^(property broken|SUMMARY)' $(FUZZ_DIR)/fuzz-$$t.log; failed="$$failed $$t"; fi; \
	  grep -E '^stat::number_of_executed_units' $(FUZZ_DIR)/fuzz-$$t.log; \
	done; \
	if [ -n "$$failed" ]; then echo "fuzzing failed:$$failed (inputs in $(FUZZ_DIR)/crashes)"; exit 1; fi
