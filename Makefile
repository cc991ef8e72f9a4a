# The two commands a newcomer types: `make run` and `make test`.
# Both install what is missing, configure, build and go.

BUILD_TYPE ?= RelWithDebInfo
RUN_DIR    := build/release
TEST_DIR   := build/test
PKG_DIR    := build/package
JOBS       ?= $(shell nproc)

FUZZ_DIR   := build/fuzz
FUZZ_TIME  ?= 60
FUZZ_LONG_TIME ?= 1800
FUZZ_CI_TIME ?= 20

.PHONY: run test deps build clean bench fuzz-deps fuzz-build fuzz fuzz-long fuzz-ci package

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(RUN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DBUILD_TESTING=OFF
	cmake --build $(RUN_DIR) -j $(JOBS)

# The reader, with the help book. Without a display it says so; a sample
# book's open spread is then painted to a picture through vltool instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		$(RUN_DIR)/bin/versaleo; \
	else \
		$(RUN_DIR)/bin/versaleo || true; \
		$(RUN_DIR)/bin/versaleo-sample-book $(RUN_DIR)/sample.vl && \
		$(RUN_DIR)/bin/vltool render --page 7 -o $(RUN_DIR)/sample-spread.png $(RUN_DIR)/sample.vl && \
		echo "A sample book's open spread is in $(RUN_DIR)/sample-spread.png"; \
	fi

test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVERSALEO_SANITIZE=ON -DVERSALEO_WERROR=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	ctest --test-dir $(TEST_DIR) --output-on-failure -j $(JOBS)
	$(MAKE) fuzz-ci

# Fuzzing: a separate clang build with libFuzzer and the sanitizers. `make fuzz`
# runs every harness FUZZ_TIME seconds, `make fuzz-long FUZZ_LONG_TIME=3600`
# longer; either fails on anything found. `make test` runs the short pass.
fuzz-deps: deps
	scripts/install-fuzz-deps

fuzz-build: fuzz-deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVERSALEO_FUZZ=ON -DBUILD_TESTING=OFF -DVERSALEO_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	fuzz/make-seeds $(FUZZ_DIR)

fuzz: fuzz-build
	fuzz/run -t $(FUZZ_TIME) -b $(FUZZ_DIR)

fuzz-long: fuzz-build
	fuzz/run -t $(FUZZ_LONG_TIME) -b $(FUZZ_DIR)

# CI's pass starts from the same seed every time, so that it fails for a
# change to the code rather than for a lucky draw.
fuzz-ci: fuzz-build
	FUZZ_SEED=1 fuzz/run -t $(FUZZ_CI_TIME) -b $(FUZZ_DIR)

bench: build
	for b in $(RUN_DIR)/bin/*_bench; do $$b; done

# The Debian package, build/package/versaleo_<version>_amd64.deb: a release
# build for /usr with Debian's hardening flags (all of them, bindnow too),
# packed by CPack with the dependencies dpkg-shlibdeps finds.
# scripts/check-package tries it out.
package: deps
	flags="DEB_BUILD_MAINT_OPTIONS=hardening=+all"; \
	cxxflags="$$(env $$flags dpkg-buildflags --get CXXFLAGS) $$(env $$flags dpkg-buildflags --get CPPFLAGS)"; \
	ldflags="$$(env $$flags dpkg-buildflags --get LDFLAGS)"; \
	cmake -S . -B $(PKG_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVERSALEO_BENCH=OFF \
		-DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$$ldflags" \
		-DCMAKE_SHARED_LINKER_FLAGS="$$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$$ldflags"
	cmake --build $(PKG_DIR) -j $(JOBS)
	cd $(PKG_DIR) && cpack -G DEB

clean:
	rm -rf build
