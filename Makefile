# Two commands: `make run` (set up, build, play) and `make test` (set up, build, every test).
JOBS ?= $(shell nproc)
export XDG_RUNTIME_DIR ?= /tmp/zelto-runtime-$(shell id -u)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

PREFIX ?= $(HOME)/.local

.PHONY: setup build build-san run test bench fuzz clean install uninstall

setup:
	@scripts/setup
	@mkdir -p -m 700 $(XDG_RUNTIME_DIR)

build: setup
	@cmake -S . -B build $(CMAKE_FLAGS) >/dev/null
	@cmake --build build -j $(JOBS)

# The sanitizer build is a clang build: it also links the fuzz targets with libFuzzer, which `make test` runs briefly.
build-san: setup
	@cmake -S . -B build-san -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
		-DZELTO_SANITIZE=ON >/dev/null
	@cmake --build build-san -j $(JOBS)

run: build
	@cd build && ./zelto $(ARGS)

# The tests run twice: under clang's AddressSanitizer and UndefinedBehaviorSanitizer, with each fuzz target run for a
# few seconds, then in the normal build (which also starts the real program under Xvfb); the last line is CTest's
# summary.
test: build build-san
	@scripts/check-layers build || { echo "an include or a call runs upward through the folders"; exit 1; }
	@cd build-san && ctest --output-on-failure -j $(JOBS) -LE smoke
	@cd build && ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/bench build

fuzz: setup
	@cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DZELTO_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target $(patsubst fuzz/%.cpp,fuzz_%,$(filter-out fuzz/replay_main.cpp,$(wildcard fuzz/*.cpp)))
	@scripts/fuzz build-fuzz $(FUZZ_SECONDS)

# The game in PREFIX/share/zelto (kept writable: settings and saved games live there), a launcher in PREFIX/bin,
# a desktop entry, the icon and the ".zlt" type. Uninstall removes exactly the files the install laid, then the
# game's folders that are left empty (the player's own files there stay).
install: build
	@cmake --install build --prefix "$(PREFIX)"

uninstall:
	@test -f build/install_manifest.txt || { echo "nothing was installed from build/"; exit 1; }
	@xargs -d '\n' rm -f < build/install_manifest.txt
	@if [ -d "$(PREFIX)/share/zelto" ]; then find "$(PREFIX)/share/zelto" -depth -type d -empty -delete; fi
	@if command -v update-mime-database >/dev/null; then update-mime-database "$(PREFIX)/share/mime"; fi
	@if command -v update-desktop-database >/dev/null; then update-desktop-database "$(PREFIX)/share/applications"; fi
	@rm -f build/install_manifest.txt

clean:
	rm -rf build build-san build-fuzz
