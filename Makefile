# The front door. `make run` builds and starts Showrama; `make test` builds and runs every test.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all bootstrap configure build run test asan bench gallery fuzz clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default -j $(JOBS)

run: build
	@build/default/demo/showrama || [ $$? -eq 3 ]  # 3: no display here; the program said so

test: build
	@ctest --preset default -j $(JOBS)

# Renders every gallery picture headless into build/default/gallery/ with an index.html.
gallery: build
	@ctest --preset default -j $(JOBS) -R Gallery --output-on-failure >/dev/null
	@build/default/tools/forms_demo --png build/default/gallery/forms_demo.png
	@build/default/demo/showrama --gallery build/default/gallery >/dev/null
	@tools/gallery/index.sh build/default/gallery

asan: bootstrap
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --preset asan -j $(JOBS)

bench: bootstrap
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

fuzz: bootstrap
	@CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DSHOWRAMA_FUZZ=ON -DSHOWRAMA_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build/fuzz -j $(JOBS)

clean:
	@rm -rf build
