# Two commands: `make run` (set up, build, play) and `make test` (set up, build, every test).
JOBS ?= $(shell nproc)
export XDG_RUNTIME_DIR ?= /tmp/zelto-runtime-$(shell id -u)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: setup build build-san run test bench fuzz clean

setup:
	@scripts/setup
	@mkdir -p -m 700 $(XDG_RUNTIME_DIR)

build: setup
	@cmake -S . -B build $(CMAKE_FLAGS) >/dev/null
	@cmake --build build -j $(JOBS)

# The sanitizer build is a clang build that also links the fuzz targets, which its tests run for a few seconds each.
build-san: setup
	@cmake -S . -B build-san -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
		-DZELTO_SANITIZE=ON -DZELTO_FUZZ=ON >/dev/null
	@cmake --build build-san -j $(JOBS)

run: build
	@cd build && ./zelto $(ARGS)

# The tests run twice: under AddressSanitizer and UndefinedBehaviorSanitizer (with a short run of every fuzz
# target), then in the normal build (which also starts the real program under Xvfb); the last line is CTest's
# summary.
test: build build-san
	@cd build-san && ctest --output-on-failure -j $(JOBS) -LE smoke
	@cd build && ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/bench build

fuzz: setup
	@cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DZELTO_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target $(patsubst fuzz/%.cpp,fuzz_%,$(filter-out fuzz/replay_main.cpp,$(wildcard fuzz/*.cpp)))
	@scripts/fuzz build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build build-san build-fuzz
