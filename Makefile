# Vantrel: the two commands a newcomer needs are `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
# Most tests wait on their own X server more than they compute, so twice as many run at once.
TEST_JOBS  ?= $(shell echo $$(( $$(nproc) * 2 )))
FUZZ_SECONDS ?= 180
CMAKE_FLAGS ?=

export ASAN_OPTIONS ?= detect_leaks=1:halt_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS ?= print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS ?= suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0

.PHONY: all deps build test bench asan fuzz run demo install package format format-check clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(TEST_JOBS)

bench: build
	scripts/run-bench $(BUILD)

asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DVANTREL_SANITIZE=ON -DVANTREL_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -L unit

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DVANTREL_FUZZ=ON -DVANTREL_BUILD_BENCH=OFF -DVANTREL_BUILD_TESTS=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_history_decode
	scripts/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

run: build
	@scripts/run-or-demo $(BUILD)

demo: build
	@scripts/demo $(BUILD)

install: build
	cmake --install $(BUILD)

# A .deb of the program in $(BUILD)/ (install it with `apt install ./$(BUILD)/vantrel_*.deb`).
package: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target vantrel
	cd $(BUILD) && cpack -G DEB

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
